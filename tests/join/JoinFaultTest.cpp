#include "JoinScript.h"
#include "platform/RuntimeError.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(JoinFaultTest, AFailingJoinShowsItsErrorLeavesNoOutputAndKeepsAFileItWasToReplace) {
    struct Case {
        const char* label;
        bool existing; // c:\myfiles\out.bin is there before, and the user agrees to replace it
        std::function<void(TestApp&)> breakIt;
        int number;
    };
    const std::string out = "c:\\myfiles\\out.bin";
    const auto refuse = [](const std::string& at, int number) {
        return [at, number](const std::string& path, auto...) {
            if (path == at)
                throw RuntimeError(number);
        };
    };
    // The second source claims 100 bytes more than it holds: it shrank after it was measured.
    const auto shrunk = [](TestApp& app) {
        app.files.reportedLength = [](const std::string& path, int64_t length) {
            return path == "c:\\dati\\b" ? length + 100 : length;
        };
    };
    const Case cases[] = {
        {"a source that vanished", false, [](TestApp& app) { std::remove(app.drives.host("c:\\dati\\b").c_str()); },
         err::FileNotFound},
        {"a full disk", false, [&](TestApp& app) { app.files.beforeWrite = refuse(out, err::DiskFull); },
         err::DiskFull},
        {"an output that cannot reach the disk", false,
         [&](TestApp& app) { app.files.beforeSync = refuse(out, err::DeviceIo); }, err::DeviceIo},
        {"a source shorter than measured, replacing", true, shrunk, err::InputPastEnd},
        {"a file that may not be replaced", true,
         [&](TestApp& app) { app.files.beforeReplace = refuse(out, err::PermissionDenied); }, err::PermissionDenied},
    };
    for (const Case& c : cases) {
        TestApp app;
        const std::string second = patternBytes(5000, 2);
        selectToJoin(app, {{"a", patternBytes(10000, 1)}, {"b", second}});
        if (c.existing) {
            app.drives.makeFolders("c:\\myfiles");
            app.drives.write(out, "del proprietario");
            app.desktop.answer(mb::IdYes);
        }
        app.desktop.onModal("nomefile", [&app, &c](Form& f) {
            c.breakIt(app);
            auto& dialog = static_cast<NameDialog&>(f);
            dialog.nf.userEdit("out.bin");
            dialog.ok.userClick();
        });
        app.desktop.answer(mb::IdOK);
        app.main().uniscifile.userClick();
        ASSERT_EQ(app.desktop.boxes.size(), c.existing ? 2u : 1u) << c.label;
        EXPECT_EQ(app.desktop.boxes.back().text,
                  "Errore numero " + std::to_string(c.number) + ":" + describeError(c.number))
            << c.label;
        EXPECT_NE(app.main().infolabel.caption().rfind("File Creato", 0), 0u) << c.label;
        if (c.existing) {
            EXPECT_EQ(app.drives.read(out), "del proprietario") << c.label;
            EXPECT_EQ(app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"}) << "no temporary";
        } else {
            EXPECT_FALSE(app.drives.exists(out)) << c.label;
        }
        if (c.number != err::FileNotFound) {
            EXPECT_EQ(app.drives.read("c:\\dati\\b"), second) << c.label;
        }
    }
}

} // namespace
} // namespace brenvik
