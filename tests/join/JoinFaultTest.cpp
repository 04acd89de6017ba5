#include "JoinScript.h"
#include "join/AppendCopy.h"
#include "platform/RuntimeError.h"

#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(JoinFaultTest, AFailingJoinShowsItsErrorLeavesNoOutputAndKeepsAFileItWasToReplace) {
    struct Case {
        const char* label;
        bool existing; // c:\myfiles\out.bin is there before, and the user agrees to replace it
        std::function<void(FaultyFiles&)> breakIt;
        std::string name;
        int number;
    };
    const std::string out = "c:\\myfiles\\out.bin";
    const auto refuse = [](const std::string& at, int number) {
        return [at, number](const std::string& path) {
            if (path == at)
                throw RuntimeError(number);
        };
    };
    // The second source claims 100 bytes more than it holds: it shrank after it was measured.
    const auto shrunk = [](FaultyFiles& f) {
        f.reportedLength = [](const std::string& path, int64_t length) {
            return path == "c:\\dati\\b" ? length + 100 : length;
        };
    };
    const Case cases[] = {
        {"a source shorter than measured", false, shrunk, "out.bin", err::InputPastEnd},
        {"a full disk", false,
         [&](FaultyFiles& f) { f.beforeWrite = [r = refuse(out, err::DiskFull)](auto& path, size_t) { r(path); }; },
         "out.bin", err::DiskFull},
        {"an output that cannot reach the disk", false,
         [&](FaultyFiles& f) { f.beforeSync = refuse(out, err::DeviceIo); }, "out.bin", err::DeviceIo},
        {"an output that may not be created", false,
         [&](FaultyFiles& f) { f.beforeCreate = refuse("c:\\myfiles\\new.bin", err::PermissionDenied); }, "new.bin",
         err::PermissionDenied},
        {"a source shorter than measured, replacing", true, shrunk, "out.bin", err::InputPastEnd},
        {"a file that may not be replaced", true,
         [&](FaultyFiles& f) { f.beforeReplace = refuse(out, err::PermissionDenied); }, "out.bin",
         err::PermissionDenied},
    };
    for (const Case& c : cases) {
        TestApp app;
        const std::string first = patternBytes(10000, 1), second = patternBytes(5000, 2);
        selectToJoin(app, {{"a", first}, {"b", second}});
        if (c.existing) {
            app.drives.makeFolders("c:\\myfiles");
            app.drives.write(out, "del proprietario");
            app.desktop.answer(mb::IdYes);
        }
        c.breakIt(app.files);
        typeName(app.desktop, c.name);
        app.desktop.answer(mb::IdOK);
        app.main().uniscifile.userClick();
        ASSERT_EQ(app.desktop.boxes.size(), c.existing ? 2u : 1u) << c.label;
        EXPECT_EQ(app.desktop.boxes.back().text,
                  "Errore numero " + std::to_string(c.number) + ":" + describeError(c.number))
            << c.label;
        EXPECT_EQ(app.desktop.boxes.back().title, "Error!") << c.label;
        EXPECT_NE(app.main().infolabel.caption().rfind("File Creato", 0), 0u) << c.label;
        EXPECT_EQ(app.main().bianco.caption(), "0") << c.label;
        EXPECT_EQ(app.main().barra.width(), 0) << c.label;
        EXPECT_TRUE(app.launcher.started.empty()) << c.label;
        if (c.existing) {
            EXPECT_EQ(app.drives.read(out), "del proprietario") << c.label;
            EXPECT_EQ(app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"})
                << c.label << ": no temporary left";
        } else {
            EXPECT_FALSE(app.drives.exists("c:\\myfiles\\" + c.name)) << c.label;
        }
        EXPECT_EQ(app.drives.read("c:\\dati\\b"), second) << c.label;
    }
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
