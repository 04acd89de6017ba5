#include "JoinScript.h"
#include "join/AppendCopy.h"
#include "platform/RuntimeError.h"
#include "support/ForwardingFileSystem.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A file that reads what it holds but claims `extra` bytes more: a source that shrank after it
// was measured.
class ShrunkFile : public ForwardingFile {
public:
    ShrunkFile(std::unique_ptr<File> inner, int64_t extra) : ForwardingFile(std::move(inner)), extra_(extra) {}
    int64_t length() override { return inner_->length() + extra_; }

private:
    int64_t extra_;
};

// A file that takes `room` bytes and then fails as a full disk does.
class FullDiskFile : public ForwardingFile {
public:
    FullDiskFile(std::unique_ptr<File> inner, size_t room) : ForwardingFile(std::move(inner)), room_(room) {}
    void write(const char* buffer, size_t size) override {
        size_t n = std::min(size, room_);
        inner_->write(buffer, n);
        room_ -= n;
        if (n < size)
            throw RuntimeError(err::DiskFull);
    }

private:
    size_t room_;
};

// A file whose bytes never reach the disk: its flush fails as a failing device does.
class UnflushableFile : public ForwardingFile {
public:
    using ForwardingFile::ForwardingFile;
    void sync() override { throw RuntimeError(err::DeviceIo); }
};

// The test drives with faults on chosen paths (compared as the program spells them).
class FaultyFiles : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    std::string shrinking;     // opened for reading, it claims 100 bytes more than it holds
    std::string fullDisk;      // created, it takes 4096 bytes and then reports a full disk
    std::string refuseCreate;  // cannot be opened for writing
    std::string unflushable;   // created, its flush to the disk fails
    std::string refuseReplace; // may not be replaced

    void replaceFile(const std::string& from, const std::string& to) override {
        if (to == refuseReplace)
            throw RuntimeError(err::PermissionDenied);
        inner_.replaceFile(from, to);
    }
    std::unique_ptr<File> openRead(const std::string& path) override {
        auto f = inner_.openRead(path);
        if (path == shrinking)
            return std::make_unique<ShrunkFile>(std::move(f), 100);
        return f;
    }
    std::unique_ptr<File> create(const std::string& path) override {
        if (path == refuseCreate)
            throw RuntimeError(err::PermissionDenied);
        auto f = inner_.create(path);
        if (path == fullDisk)
            return std::make_unique<FullDiskFile>(std::move(f), 4096);
        if (path == unflushable)
            return std::make_unique<UnflushableFile>(std::move(f));
        return f;
    }
};

// The program on the faulty drives, with two sources selected in c:\dati.
struct FaultyJoin {
    FaultyJoin() : files(app.drives.fs()), platform(app.desktop, files, app.settings, app.launcher) {
        selectToJoin(app, {{"a", first}, {"b", second}}, &platform);
    }
    ~FaultyJoin() { app.stop(); }

    // Joins into c:\myfiles\out.bin, expecting the join's error box for `number`.
    void joinFailing(int number) {
        typeName(app.desktop, "out.bin");
        app.desktop.answer(mb::IdOK);
        app.main().uniscifile.userClick();
        ASSERT_FALSE(app.desktop.boxes.empty());
        EXPECT_EQ(app.desktop.boxes.back().text,
                  "Errore numero " + std::to_string(number) + ":" + describeError(number));
        EXPECT_EQ(app.desktop.boxes.back().title, "Error!");
        EXPECT_EQ(app.main().bianco.caption(), "0");
        EXPECT_EQ(app.main().barra.width(), 0);
        EXPECT_TRUE(app.launcher.started.empty());
    }

    TestApp app;
    FaultyFiles files;
    Platform platform;
    const std::string first = patternBytes(10000, 1);
    const std::string second = patternBytes(5000, 2);
};

TEST(JoinFaultTest, ASourceShorterThanMeasuredStopsTheJoin) {
    FaultyJoin j;
    j.files.shrinking = "c:\\dati\\b";
    j.joinFailing(err::InputPastEnd);
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin")) << "the incomplete output the join made is removed";
    EXPECT_EQ(j.app.drives.read("c:\\dati\\b"), j.second);
}

TEST(JoinFaultTest, AFullDiskStopsTheJoinAndRemovesTheOutputItWrote) {
    FaultyJoin j;
    j.files.fullDisk = "c:\\myfiles\\out.bin";
    j.joinFailing(err::DiskFull);
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin"));
}

TEST(JoinFaultTest, AnOutputThatCannotReachTheDiskIsNotReportedCreated) {
    FaultyJoin j;
    j.files.unflushable = "c:\\myfiles\\out.bin";
    j.joinFailing(err::DeviceIo);
    EXPECT_EQ(j.app.main().infolabel.caption().rfind("File Creato", 0), std::string::npos);
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin"));
}

TEST(JoinFaultTest, AFileBeingReplacedKeepsItsBytesWhenTheJoinFails) {
    FaultyJoin j;
    j.app.drives.makeFolders("c:\\myfiles");
    j.app.drives.write("c:\\myfiles\\out.bin", "del proprietario");
    j.files.shrinking = "c:\\dati\\b";
    j.app.desktop.answer(mb::IdYes);
    j.joinFailing(err::InputPastEnd);
    EXPECT_EQ(j.app.drives.read("c:\\myfiles\\out.bin"), "del proprietario");
    EXPECT_EQ(j.app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"}) << "no temporary left";
}

TEST(JoinFaultTest, AFileTheJoinMayNotWriteIsNeverRemoved) {
    FaultyJoin j;
    j.app.drives.makeFolders("c:\\myfiles");
    j.app.drives.write("c:\\myfiles\\out.bin", "del proprietario");
    j.files.refuseReplace = "c:\\myfiles\\out.bin";
    j.app.desktop.answer(mb::IdYes);
    j.joinFailing(err::PermissionDenied);
    EXPECT_EQ(j.app.drives.read("c:\\myfiles\\out.bin"), "del proprietario");
    EXPECT_EQ(j.app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"});

    j.app.desktop.boxes.clear();
    j.files.refuseCreate = "c:\\myfiles\\new.bin";
    typeName(j.app.desktop, "new.bin");
    j.app.desktop.answer(mb::IdOK);
    j.app.main().uniscifile.userClick();
    ASSERT_EQ(j.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(j.app.desktop.boxes[0].title, "Error!");
}

// Records the size of every read it is asked for.
class RecordingSource : public File {
public:
    explicit RecordingSource(std::string bytes) : bytes_(std::move(bytes)) {}
    size_t read(char* buffer, size_t size) override {
        asked.push_back(size);
        size_t n = std::min(size, bytes_.size() - at_);
        bytes_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }
    void write(const char* buffer, size_t size) override { written.append(buffer, size); }
    int64_t length() override { return static_cast<int64_t>(bytes_.size()); }
    void sync() override {}
    void close() override {}

    std::vector<size_t> asked;
    std::string written;

private:
    std::string bytes_;
    size_t at_ = 0;
};

TEST(AppendCopyTest, CopiesExactlyTheLengthInFullBlocksAndOneLastPass) {
    struct Case {
        size_t length;
        std::vector<size_t> reads;
    };
    constexpr auto B = static_cast<size_t>(AppendCopy::BlockSize);
    const Case cases[] = {
        {0, {0}}, {1, {1}}, {B - 1, {B - 1}}, {B, {B, 0}}, {B + 1, {B, 1}}, {3 * B + 5, {B, B, B, 5}},
    };
    AppendCopy copier;
    for (const Case& c : cases) {
        // The source holds more than is asked: the copy stops at the length and the rest follows
        // on the next call, as when parts are read one after another.
        const std::string bytes = patternBytes(c.length + 10, static_cast<unsigned>(c.length));
        RecordingSource source(bytes);
        RecordingSource target("");
        copier.AccodaFile(source, target, static_cast<int64_t>(c.length));
        EXPECT_EQ(source.asked, c.reads) << c.length;
        EXPECT_EQ(target.written, bytes.substr(0, c.length)) << c.length;
        copier.AccodaFile(source, target, 10);
        EXPECT_EQ(target.written, bytes) << c.length;
    }
}

TEST(AppendCopyTest, ASourceThatEndsEarlyThrows) {
    AppendCopy copier;
    constexpr auto B = static_cast<size_t>(AppendCopy::BlockSize);
    RecordingSource source(patternBytes(B + 100));
    RecordingSource target("");
    try {
        copier.AccodaFile(source, target, B + 200);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::InputPastEnd);
    }
    EXPECT_EQ(source.asked, (std::vector<size_t>{B, 200}));

    RecordingSource empty("");
    EXPECT_THROW(copier.AccodaFile(empty, target, -1), RuntimeError);
}

} // namespace
} // namespace brenvik
