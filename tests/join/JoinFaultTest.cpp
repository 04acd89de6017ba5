#include "join/JoinScript.h"
#include "platform/RuntimeError.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(JoinFaultTest, AFailingJoinLeavesNoOutputKeepsTheFileItWasToReplaceAndTheNextJoinWorks) {
    struct Case {
        const char* label;
        bool replacing; // c:\myfiles\out.bin is there before, and the user agrees to replace it
        std::function<void(TestApp&)> breakIt;
        int number;
    };
    const std::string out = "c:\\myfiles\\out.bin";
    bool broken = true; // until the fault is gone
    const auto refuse = [out, &broken](int number) {
        return [out, number, &broken](const std::string& path, auto...) {
            if (broken && path == out)
                throw RuntimeError(number);
        };
    };
    const Case cases[] = {
        {"a source that vanished", false, [](TestApp& app) { std::remove(app.drives.host("c:\\dati\\b").c_str()); },
         err::FileNotFound},
        {"a full disk", false, [&](TestApp& app) { app.files.beforeWrite = refuse(err::DiskFull); }, err::DiskFull},
        {"an output that cannot reach the disk", false,
         [&](TestApp& app) { app.files.beforeSync = refuse(err::DeviceIo); }, err::DeviceIo},
        // The second source claims 100 bytes more than it holds: it shrank after it was measured.
        {"a source shorter than measured, replacing", true,
         [&](TestApp& app) {
             app.files.reportedLength = [&broken](const std::string& path, int64_t length) {
                 return broken && path == "c:\\dati\\b" ? length + 100 : length;
             };
         },
         err::InputPastEnd},
        // A source written to since it was read, as a download still running does, or replaced
        // by a split naming its set in that folder.
        {"a source that changes once read", false,
         [&](TestApp& app) {
             app.files.afterRead = [&app, &broken](const std::string& path, size_t, size_t) {
                 if (broken && path == "c:\\dati\\b")
                     app.drives.write("c:\\dati\\a", patternBytes(40001, 1));
             };
         },
         err::FileAlreadyOpen},
        // As on a read-only disk, even after the user's Yes.
        {"a folder that takes no new file, replacing", true,
         [&](TestApp& app) { app.files.beforeCreate = refuse(err::PermissionDenied); }, err::PermissionDenied},
        {"a file that may not be replaced", true,
         [&](TestApp& app) { app.files.beforeName = refuse(err::PermissionDenied); }, err::PermissionDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TwoSourceJoin j;
        broken = true;
        if (c.replacing) {
            j.app.drives.makeFolders("c:\\myfiles");
            j.app.drives.write(out, "del proprietario");
        }
        c.breakIt(j.app);
        j.join("out.bin", c.replacing, c.number);
        if (c.replacing)
            EXPECT_EQ(j.app.drives.read(out), "del proprietario");
        else
            EXPECT_FALSE(j.app.drives.exists(out));

        // Once the fault is gone the same join succeeds, which it could not with a source harmed.
        broken = false;
        if (c.number == err::FileNotFound)
            j.app.drives.write("c:\\dati\\b", j.second);
        if (c.number == err::FileAlreadyOpen)
            j.app.drives.write("c:\\dati\\a", j.first);
        j.join("out.bin", c.replacing);
    }
}

} // namespace
} // namespace brenvik
