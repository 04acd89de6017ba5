#include "platform/RuntimeError.h"
#include "split/PartWriter.h"
#include "split/SplitTestSupport.h"
#include "support/Recorders.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace brenvik {
namespace {

using splittest::filesIn;
using splittest::joinParts;
using splittest::Split;

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A hook that fails its operation on the paths ending in `tail` with the runtime error `number`.
std::function<void(const std::string&)> failOn(const std::string& tail, int number) {
    return [tail, number](const std::string& path) {
        if (endsWith(path, tail))
            throw RuntimeError(number);
    };
}
std::function<void(const std::string&, size_t)> failWriteOn(const std::string& tail, int number) {
    return [fail = failOn(tail, number)](const std::string& path, size_t) { fail(path); };
}

TEST(SplitFailureTest, AFailureKeepsOnlyCompletePartsAndNoScriptAndTheProgramRunsOn) {
    struct Case {
        const char* label;
        std::function<void(Split&)> breakIt;
        int answer; // 0: no message box
        const char* box;
        int flags;
        const char* status;
        std::vector<std::string> left;
    };
    const std::string changed = "il file d'origine è cambiato durante lo split";
    const std::vector<std::string> all = {"film.avi.000", "film.avi.001", "film.avi.002"};
    const Case cases[] = {
        {"a full disk in a part",
         [](Split& s) { s.app.files.beforeWrite = failWriteOn(".001", err::DiskFull); },
         mb::IdOK,
         "Disco Pieno!",
         mb::OK | mb::Exclamation,
         "Disco pieno",
         {"film.avi.000"}},
        {"a part refused, given up",
         [](Split& s) { s.app.files.beforeCreate = failOn(".002", err::PermissionDenied); },
         mb::IdCancel,
         "Accesso negato!",
         mb::RetryCancel | mb::Exclamation,
         "Autorizzazione negata",
         {"film.avi.000", "film.avi.001"}},
        {"a failure without a message",
         [](Split& s) { s.app.files.beforeCreate = failOn("", err::TooManyFiles); },
         0,
         nullptr,
         0,
         "Troppi file",
         {}},
        {"the script refused", [](Split& s) { s.app.files.beforeCreate = failOn(".bat", err::PermissionDenied); },
         mb::IdCancel, "Accesso negato!", mb::RetryCancel | mb::Exclamation, "Autorizzazione negata", all},
        {"a full disk in the script", [](Split& s) { s.app.files.beforeWrite = failWriteOn(".bat", err::DiskFull); },
         mb::IdOK, "Disco Pieno!", mb::OK | mb::Exclamation, "Disco pieno", all},
        {"an earlier set being replaced",
         [](Split& s) {
             s.run();
             splittest::setSizeKb(s.m(), 2);
             s.app.files.beforeWrite = failWriteOn(".003", err::DiskFull);
         },
         mb::IdOK, "Disco Pieno!", mb::OK | mb::Exclamation, "Disco pieno", all},
        {"a source that grows",
         [](Split& s) {
             s.app.files.afterRead = [&s, done = false](const std::string&, size_t, size_t) mutable {
                 if (!std::exchange(done, true))
                     s.app.drives.write("c:\\src\\film.avi", patternBytes(11000));
             };
         },
         0, nullptr, 0, changed.c_str(), all},
        {"a source that shrinks",
         [](Split& s) {
             s.app.files.afterRead = [&s, done = false](const std::string&, size_t, size_t) mutable {
                 if (!std::exchange(done, true))
                     std::filesystem::resize_file(s.app.drives.hostFile("c:\\src\\film.avi"), 5000);
             };
         },
         0,
         nullptr,
         0,
         changed.c_str(),
         {"film.avi.000"}},
    };
    for (const Case& c : cases) {
        Split s("film.avi", patternBytes(10000), 4);
        c.breakIt(s);
        s.app.store("opzioni", "cartsplit", "1");
        if (c.answer)
            s.app.desktop.answer(c.answer);
        s.run();
        const auto& boxes = s.app.desktop.boxes;
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u) << c.label;
        if (c.box) {
            EXPECT_EQ(boxes[0].text, c.box) << c.label;
            EXPECT_EQ(boxes[0].flags, c.flags) << c.label;
            EXPECT_EQ(boxes[0].title, "Errore") << c.label;
        }
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + std::string(c.status)) << c.label;
        if (c.left.size() < all.size()) {
            EXPECT_NE(s.m().bianco.caption(), "100") << c.label;
        }
        EXPECT_EQ(filesIn(s.app.drives, s.dest()), c.left) << c.label;
        const auto size = static_cast<size_t>(s.m().grandezza);
        for (int i = 0; i < static_cast<int>(c.left.size()); ++i)
            EXPECT_EQ(s.app.drives.read(s.part(i)), s.source.substr(static_cast<size_t>(i) * size, size))
                << c.label << ": part " << i;
        EXPECT_TRUE(s.app.launcher.started.empty()) << c.label;

        s.app.files.beforeCreate = nullptr;
        s.app.files.beforeWrite = nullptr;
        s.app.files.afterRead = nullptr;
        s.run();
        const std::string n = std::to_string(s.m().numparti);
        EXPECT_EQ(s.m().infolabel.caption(), " " + n + "/ " + n + " files creati con  SUCCESSO") << c.label;
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", s.m().numparti),
                  s.app.drives.read("c:\\src\\film.avi"))
            << c.label;
        EXPECT_TRUE(s.app.drives.exists(s.script())) << c.label;
    }
}

TEST(SplitFailureTest, RetryAnswerRunsTheSplitAgain) {
    Split s("film.avi", patternBytes(10000), 4);
    int refusals = 1;
    s.app.files.beforeCreate = [&refusals](const std::string& path) {
        if (endsWith(path, ".000") && refusals-- > 0)
            throw RuntimeError(err::PermissionDenied);
    };
    s.app.desktop.answer(mb::IdRetry);
    s.run();
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Accesso negato!");
    EXPECT_EQ(s.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
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
        Split s("film.avi", patternBytes(10000), 4);
        s.app.drives.makeFolders(s.dest());
        link(s.app.drives.hostFile("c:\\src\\film.avi"), s.app.drives.hostFile(s.part(1)));
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: una parte sovrascriverebbe il file d'origine");
        EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
    }
}

TEST(SplitFailureTest, EveryPartAndTheScriptAreOnTheDiskBeforeSuccessIsShown) {
    Split s("film.avi", patternBytes(10000), 4);
    std::vector<std::string> log;
    s.app.files.flushes = &log;
    ControlRecorder status(s.m().infolabel, Property::Caption, log, [&] { return s.m().infolabel.caption(); });
    s.run();
    const auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    const auto success = at(" 3/ 3 files creati con  SUCCESSO");
    ASSERT_LT(success, static_cast<long>(log.size())) << "the split succeeded";
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(at("flush " + s.part(i)), success) << i;
    EXPECT_LT(at("flush " + s.dest() + "\\"), success) << "the folder's names too";
    EXPECT_LT(at("flush " + s.script()), static_cast<long>(log.size())) << "the script is flushed";
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
        Split s("big.bin", patternBytes(static_cast<size_t>(c.size)), c.kb);
        std::vector<size_t> reads, written;
        s.app.files.afterRead = [&reads](const std::string& path, size_t asked, size_t) {
            if (endsWith(path, "big.bin"))
                reads.push_back(asked);
        };
        s.app.files.beforeWrite = [&written](const std::string& path, size_t size) {
            if (!endsWith(path, ".bat"))
                written.push_back(size);
        };
        s.run();
        std::vector<size_t> expected = c.reads;
        expected.push_back(1); // the check that nothing follows
        EXPECT_EQ(reads, expected) << c.size << " at " << c.kb;
        EXPECT_EQ(written, c.reads) << "one write per read";
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\big.bin.", s.m().numparti), s.source);
    }
    EXPECT_EQ(PartWriter::planFor(1048576).fullBlocks, 1);
    EXPECT_EQ(PartWriter::planFor(1048576).tailSize, 0);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).blockSize, 1048576);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).fullBlocks, 976);
    EXPECT_EQ(PartWriter::planFor(999999LL * 1024).tailSize, 999999LL * 1024 - 976LL * 1048576);
}

} // namespace
} // namespace brenvik
