#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "platform/WinPath.h"
#include "support/posix/KilledChild.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace brenvik {
namespace {

namespace fs = std::filesystem;
const std::string Out = "c:\\myfiles\\out.bin";

// Two sources of 2 MiB selected in c:\dati, joined into c:\myfiles\out.bin.
struct Join {
    Join() { selectToJoin(app, {{"a", first}, {"b", second}}); }
    void run(bool replacing) {
        answerName(app.desktop, "out.bin");
        if (replacing)
            app.desktop.answer(mb::IdYes);
        app.main().uniscifile.userClick();
    }
    std::vector<std::string> temporaries() {
        std::vector<std::string> out;
        for (const std::string& name : app.drives.fs().files("c:\\myfiles"))
            if (winpath::isTemporaryName(name))
                out.push_back(name);
        return out;
    }

    TestApp app;
    const std::string first = patternBytes(2 * 1024 * 1024, 1);
    const std::string second = patternBytes(2 * 1024 * 1024, 2);
};

TEST(JoinSurvivalTest, AKilledJoinLeavesNothingUnderTheNameAndTheFileItWasReplacing) {
    for (bool replacing : {false, true}) {
        Join j;
        j.app.drives.makeFolders("c:\\myfiles");
        if (replacing)
            j.app.drives.write(Out, "del proprietario");
        killWhereItHalts([&j, replacing](const std::function<void()>& halt) {
            int writes = 0;
            j.app.files.beforeWrite = [&](const std::string& path, size_t) {
                if (path == Out && ++writes == 3)
                    halt();
            };
            j.run(replacing);
        });
        if (replacing)
            EXPECT_EQ(j.app.drives.read(Out), "del proprietario");
        else
            EXPECT_FALSE(j.app.drives.exists(Out));
        EXPECT_EQ(j.temporaries().size(), 1u) << replacing << ": the killed run's output, under a temporary name";

        j.run(replacing);
        EXPECT_EQ(j.app.main().infolabel.caption(), "File Creato in " + Out) << replacing;
        EXPECT_EQ(j.app.drives.read(Out), j.first + j.second) << replacing;
        EXPECT_TRUE(j.temporaries().empty()) << replacing << ": the next join removes what the killed one left";
    }
}

TEST(JoinSurvivalTest, APipeOrASocketAmongTheSourcesIsRefusedAtOnceAndNothingIsWritten) {
    for (const char* kind : {"pipe", "socket"}) {
        Join j;
        const std::string special = j.app.drives.host("c:\\dati\\b");
        fs::remove(special);
        int listener = -1;
        if (std::string(kind) == "pipe") {
            ASSERT_EQ(::mkfifo(special.c_str(), 0644), 0);
        } else {
            listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            ASSERT_LT(special.size(), sizeof(address.sun_path));
            special.copy(address.sun_path, special.size());
            ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        }
        j.app.main().File2.refresh();
        for (int i = 0; i < j.app.main().File2.count(); ++i)
            j.app.main().File2.setSelected(i, true);
        j.app.desktop.answer(mb::IdOK);
        // A join that waits for a writer would hang here; the alarm ends the test instead.
        ::alarm(60);
        j.run(false);
        ::alarm(0);
        ASSERT_EQ(j.app.desktop.boxes.size(), 1u) << kind;
        EXPECT_EQ(j.app.desktop.boxes[0].text, "Errore numero 75:" + describeError(err::PathFileAccess)) << kind;
        EXPECT_FALSE(j.app.drives.exists(Out)) << kind;
        EXPECT_TRUE(j.temporaries().empty()) << kind;
        if (listener >= 0)
            ::close(listener);
    }
}

TEST(JoinSurvivalTest, AnOutputNamedByALinkReplacesTheLinkNotWhatItPointsTo) {
    Join j;
    j.app.drives.makeFolders("c:\\fuori");
    j.app.drives.makeFolders("c:\\myfiles");
    j.app.drives.write("c:\\fuori\\vittima", "intatto");
    fs::create_symlink(j.app.drives.hostFile("c:\\fuori\\vittima"), j.app.drives.hostFile(Out));
    j.run(true);
    EXPECT_EQ(j.app.main().infolabel.caption(), "File Creato in " + Out);
    EXPECT_EQ(j.app.drives.read("c:\\fuori\\vittima"), "intatto");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(j.app.drives.hostFile(Out))));
    EXPECT_EQ(j.app.drives.read(Out), j.first + j.second);
}

} // namespace
} // namespace brenvik
