#include "dialogs/DialogTestHelpers.h"
#include "platform/RuntimeError.h"
#include "split/PartWriter.h"
#include "split/SplitTestSupport.h"
#include "support/ForwardingFileSystem.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using splittest::filesIn;
using splittest::joinParts;

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The real temporary drives with hooks that watch or break single operations.
class FaultyFiles : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // Run before the operation; they may throw to make it fail.
    std::function<void(const std::string& path)> beforeCreate;
    std::function<void(const std::string& path)> beforeWrite;
    // Run after a read of the source, with the bytes it gave.
    std::function<void(size_t got)> afterRead;

    std::vector<size_t> sourceReads;
    std::vector<std::pair<std::string, size_t>> writes;
    // "flush PATH" for every flush of a file or folder to the disk, in order.
    std::vector<std::string>* flushes = nullptr;

    class Watched : public ForwardingFile {
    public:
        Watched(FaultyFiles& fs, std::unique_ptr<File> f, std::string path, bool source)
            : ForwardingFile(std::move(f)), fs_(fs), path_(std::move(path)), source_(source) {}
        size_t read(char* buffer, size_t size) override {
            size_t got = inner_->read(buffer, size);
            if (source_) {
                fs_.sourceReads.push_back(size);
                if (fs_.afterRead)
                    fs_.afterRead(got);
            }
            return got;
        }
        void write(const char* buffer, size_t size) override {
            if (fs_.beforeWrite)
                fs_.beforeWrite(path_);
            fs_.writes.emplace_back(path_, size);
            inner_->write(buffer, size);
        }

        void sync() override {
            fs_.flushed(path_);
            inner_->sync();
        }

    private:
        FaultyFiles& fs_;
        std::string path_;
        bool source_;
    };

    void flushed(const std::string& path) {
        if (flushes)
            flushes->push_back("flush " + path);
    }
    void syncFiles(const std::vector<std::string>& paths) override {
        for (const std::string& path : paths)
            flushed(path);
        inner_.syncFiles(paths);
    }
    void syncFolder(const std::string& path) override {
        flushed(path);
        inner_.syncFolder(path);
    }

    std::unique_ptr<File> openRead(const std::string& path) override {
        return std::make_unique<Watched>(*this, inner_.openRead(path), path, true);
    }
    std::unique_ptr<File> create(const std::string& path) override {
        if (beforeCreate)
            beforeCreate(path);
        return std::make_unique<Watched>(*this, inner_.create(path), path, false);
    }
};

// The program on the faulty drives, with c:\src\<name> selected at `kb`.
struct Faulty {
    Faulty(const std::string& name, const std::string& bytes, int64_t kb)
        : name(name), source(bytes), files(app.drives.fs()), platform(app.desktop, files, app.settings, app.launcher) {
        app.drives.makeFolders("c:\\src");
        app.drives.write("c:\\src\\" + name, bytes);
        app.startIn("c:\\src", &platform);
        clickFile(m(), name);
        splittest::setSizeKb(m(), kb);
    }
    ~Faulty() { app.stop(); }
    MainWindow& m() { return app.main(); }
    std::string dest() const { return "c:\\myfiles\\[" + name + "]"; }
    std::string script() const { return dest() + "\\Assembla[" + name + "].bat"; }
    void run() { m().split.click(); }

    TestApp app;
    std::string name;
    std::string source;
    FaultyFiles files;
    Platform platform;
};

TEST(SplitFailureTest, DiskFullInAPartRemovesItWritesNoScriptAndTheProgramRunsOn) {
    Faulty f("film.avi", patternBytes(10000), 4);
    f.files.beforeWrite = [](const std::string& path) {
        if (endsWith(path, ".001"))
            throw RuntimeError(err::DiskFull);
    };
    f.app.desktop.answer(mb::IdOK);
    f.run();
    ASSERT_EQ(f.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(f.app.desktop.boxes[0].text, "Disco Pieno!");
    EXPECT_EQ(f.app.desktop.boxes[0].flags, mb::OK | mb::Exclamation);
    EXPECT_EQ(f.app.desktop.boxes[0].title, "Errore");
    EXPECT_EQ(f.m().infolabel.caption(), "Split interrotto: Disco pieno");
    EXPECT_NE(f.m().bianco.caption(), "100");
    EXPECT_EQ(filesIn(f.app.drives, f.dest()), std::vector<std::string>{"film.avi.000"})
        << "the complete part stays, the incomplete one is removed, no script";
    EXPECT_EQ(f.app.drives.read(f.dest() + "\\film.avi.000"), f.source.substr(0, 4096));

    f.files.beforeWrite = nullptr;
    f.run();
    EXPECT_EQ(f.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    EXPECT_EQ(joinParts(f.app.drives, f.dest() + "\\film.avi.", 3), f.source);
    EXPECT_TRUE(f.app.drives.exists(f.script()));
}

TEST(SplitFailureTest, RetryAnswerRunsTheSplitAgainCancelGivesUp) {
    {
        Faulty f("film.avi", patternBytes(10000), 4);
        int refusals = 1;
        f.files.beforeCreate = [&refusals](const std::string& path) {
            if (endsWith(path, ".000") && refusals-- > 0)
                throw RuntimeError(err::PermissionDenied);
        };
        f.app.desktop.answer(mb::IdRetry);
        f.run();
        ASSERT_EQ(f.app.desktop.boxes.size(), 1u);
        EXPECT_EQ(f.app.desktop.boxes[0].text, "Accesso negato!");
        EXPECT_EQ(f.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
        EXPECT_EQ(joinParts(f.app.drives, f.dest() + "\\film.avi.", 3), f.source);
    }
    {
        Faulty f("film.avi", patternBytes(10000), 4);
        f.files.beforeCreate = [](const std::string& path) {
            if (endsWith(path, ".002"))
                throw RuntimeError(err::PermissionDenied);
        };
        f.app.desktop.answer(mb::IdCancel);
        f.run();
        EXPECT_EQ(f.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
        EXPECT_FALSE(f.app.drives.exists(f.script()));
        EXPECT_FALSE(f.app.drives.exists(f.dest() + "\\film.avi.002"));
    }
}

TEST(SplitFailureTest, UnlistedFailureShowsNoBoxButStopsTheSplit) {
    Faulty f("film.avi", patternBytes(10000), 4);
    f.files.beforeCreate = [](const std::string&) { throw RuntimeError(err::TooManyFiles); };
    f.run();
    EXPECT_TRUE(f.app.desktop.boxes.empty());
    EXPECT_EQ(f.m().infolabel.caption(), "Split interrotto: Troppi file");
}

TEST(SplitFailureTest, ScriptThatCannotBeWrittenLeavesNoneBehind) {
    {
        Faulty f("film.avi", patternBytes(10000), 4);
        f.files.beforeCreate = [](const std::string& path) {
            if (endsWith(path, ".bat"))
                throw RuntimeError(err::PermissionDenied);
        };
        f.app.store("opzioni", "cartsplit", "1");
        f.app.desktop.answer(mb::IdCancel);
        f.run();
        EXPECT_EQ(f.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
        EXPECT_EQ(joinParts(f.app.drives, f.dest() + "\\film.avi.", 3), f.source);
        EXPECT_FALSE(f.app.drives.exists(f.script()));
        EXPECT_TRUE(f.app.launcher.started.empty());
    }
    {
        Faulty f("film.avi", patternBytes(10000), 4);
        f.files.beforeWrite = [](const std::string& path) {
            if (endsWith(path, ".bat"))
                throw RuntimeError(err::DiskFull);
        };
        f.app.desktop.answer(mb::IdOK);
        f.run();
        EXPECT_FALSE(f.app.drives.exists(f.script())) << "the half-written script is removed";
    }
}

TEST(SplitFailureTest, FailedSplitLeavesNoScriptOfAnEarlierOne) {
    Faulty f("film.avi", patternBytes(10000), 4);
    f.run();
    ASSERT_TRUE(f.app.drives.exists(f.script()));
    splittest::setSizeKb(f.m(), 2);
    f.files.beforeWrite = [](const std::string& path) {
        if (endsWith(path, ".003"))
            throw RuntimeError(err::DiskFull);
    };
    f.app.desktop.answer(mb::IdOK);
    f.run();
    EXPECT_FALSE(f.app.drives.exists(f.script())) << "its parts were being replaced";
}

TEST(SplitFailureTest, SourceChangingDuringTheSplitIsRefused) {
    const char* const changed = "Split interrotto: il file d'origine è cambiato durante lo split";
    {
        Faulty f("grows.log", patternBytes(10000), 4);
        f.files.afterRead = [&f](size_t) {
            f.app.drives.write("c:\\src\\grows.log", patternBytes(11000));
            f.files.afterRead = nullptr;
        };
        f.run();
        EXPECT_EQ(f.m().infolabel.caption(), changed);
        EXPECT_FALSE(f.app.drives.exists(f.script()));
    }
    {
        Faulty f("shrinks.log", patternBytes(10000), 4);
        f.files.afterRead = [&f](size_t) {
            std::filesystem::resize_file(f.app.drives.hostFile("c:\\src\\shrinks.log"), 5000);
            f.files.afterRead = nullptr;
        };
        f.run();
        EXPECT_EQ(f.m().infolabel.caption(), changed);
        EXPECT_EQ(filesIn(f.app.drives, f.dest()), std::vector<std::string>{"shrinks.log.000"})
            << "the short part is removed";
    }
}

TEST(SplitFailureTest, PartNamingTheSourceItselfIsRefused) {
    namespace fs = std::filesystem;
    using Link = void (*)(const fs::path&, const fs::path&);
    std::vector<Link> links = {[](const fs::path& to, const fs::path& at) { fs::create_hard_link(to, at); }};
#ifndef _WIN32
    // Symbolic links need a right on Windows that tests do not have.
    links.push_back([](const fs::path& to, const fs::path& at) { fs::create_symlink(to, at); });
#endif
    for (Link link : links) {
        Faulty f("film.avi", patternBytes(10000), 4);
        f.app.drives.makeFolders(f.dest());
        link(f.app.drives.hostFile("c:\\src\\film.avi"), f.app.drives.hostFile(f.dest()) / "film.avi.001");
        f.run();
        EXPECT_EQ(f.m().infolabel.caption(), "Split interrotto: una parte sovrascriverebbe il file d'origine");
        EXPECT_EQ(f.app.drives.read("c:\\src\\film.avi"), f.source);
    }
}

TEST(SplitFailureTest, EveryPartAndTheScriptAreOnTheDiskBeforeSuccessIsShown) {
    Faulty f("film.avi", patternBytes(10000), 4);
    std::vector<std::string> log;
    f.files.flushes = &log;
    dialogtest::ControlRecorder status(f.m().infolabel, Property::Caption, log,
                                       [&] { return f.m().infolabel.caption(); });
    f.run();
    const std::string d = f.dest();
    const auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    const auto success = at(" 3/ 3 files creati con  SUCCESSO");
    ASSERT_LT(success, static_cast<long>(log.size())) << "the split succeeded";
    for (const char* part : {"000", "001", "002"})
        EXPECT_LT(at("flush " + d + "\\film.avi." + part), success) << part;
    EXPECT_LT(at("flush " + d + "\\"), success) << "the folder's names too";
    EXPECT_LT(at("flush " + f.script()), static_cast<long>(log.size())) << "the script is flushed";
}

TEST(SplitFailureTest, CopyMovesAtMostOneMebibyteAtATime) {
    struct Case {
        int64_t size;
        int64_t kb;
        std::vector<size_t> reads;
    };
    const size_t MiB = 1048576;
    for (const Case& c :
         {Case{2500000, 1024, {MiB, MiB, 402848}}, Case{3000000, 1025, {MiB, 1024, MiB, 1024, 900800}},
          Case{3 * 3145728, 3072, {MiB, MiB, MiB, MiB, MiB, MiB, MiB, MiB, MiB}}, Case{10000, 4, {4096, 4096, 1808}}}) {
        Faulty f("big.bin", patternBytes(static_cast<size_t>(c.size)), c.kb);
        f.run();
        std::vector<size_t> expected = c.reads;
        expected.push_back(1); // the check that nothing follows
        EXPECT_EQ(f.files.sourceReads, expected) << c.size << " at " << c.kb;
        std::vector<size_t> written;
        for (const auto& w : f.files.writes)
            if (!endsWith(w.first, ".bat"))
                written.push_back(w.second);
        EXPECT_EQ(written, c.reads) << "one write per read";
        EXPECT_EQ(joinParts(f.app.drives, f.dest() + "\\big.bin.", f.m().numparti), f.source);
    }
    EXPECT_EQ(PartWriter::planFor(1048576).fullBlocks, 1);
    EXPECT_EQ(PartWriter::planFor(1048576).tailSize, 0);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).blockSize, 1048576);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).fullBlocks, 976);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).tailSize, 999999LL * 1024 - 976LL * 1048576);
}

} // namespace
} // namespace brenvik
