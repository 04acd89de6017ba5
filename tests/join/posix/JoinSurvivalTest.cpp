#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "support/HostFaults.h"
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

TEST(JoinDiskFaultTest, AFullOrReadOnlyDiskAndAnUnreadableSourceLeaveNoOutputAndKeepTheFileThere) {
    struct Case {
        const char* label;
        bool replacing, readOnly, unreadable;
        int number;
    };
    const Case cases[] = {
        {"a disk that fills up", false, false, false, err::DiskFull},
        {"a read-only disk, even after Yes", true, true, false, err::PermissionDenied},
        {"a read-only disk", false, true, false, err::PermissionDenied},
        {"a source without read permission", false, false, true, err::PermissionDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TwoSourceJoin j;
        SmallDisk disk(j.app.drives.host("c:\\myfiles"), 64 * 1024);
        if (!disk.mounted())
            GTEST_SKIP() << disk.skipReason();
        if (c.replacing)
            j.app.drives.write(Out, "del proprietario");
        if (c.readOnly)
            disk.makeReadOnly();
        if (c.unreadable) {
            ASSERT_EQ(::chmod(j.app.drives.host("c:\\dati\\b").c_str(), 0200), 0);
        }
        {
            PermissionBitsApply bits;
            j.join("out.bin", c.replacing, c.number);
        }
        if (c.replacing)
            EXPECT_EQ(j.app.drives.read(Out), "del proprietario");
        else
            EXPECT_FALSE(j.app.drives.exists(Out));
        EXPECT_EQ(j.app.drives.read("c:\\dati\\a") + j.app.drives.read("c:\\dati\\b"), j.first + j.second);
    }
}

TEST(JoinSurvivalTest, AKilledJoinLeavesNothingUnderTheNameAndTheFileItWasReplacing) {
    for (bool replacing : {false, true}) {
        TwoSourceJoin j(2 * 1024 * 1024);
        j.app.drives.makeFolders("c:\\myfiles");
        if (replacing)
            j.app.drives.write(Out, "del proprietario");
        killWhereItHalts([&j, replacing](const std::function<void()>& halt) {
            int writes = 0;
            j.app.files.beforeWrite = [&](const std::string& path, size_t) {
                if (path == Out && ++writes == 3)
                    halt();
            };
            j.join("out.bin", replacing);
        });
        if (replacing)
            EXPECT_EQ(j.app.drives.read(Out), "del proprietario");
        else
            EXPECT_FALSE(j.app.drives.exists(Out));
        EXPECT_EQ(j.temporaries().size(), 1u) << replacing << ": the killed run's output, under a temporary name";
        // The next join removes what the killed one left.
        j.join("out.bin", replacing);
    }
}

TEST(JoinSurvivalTest, APipeOrASocketAmongTheSourcesIsRefusedAtOnceAndNothingIsWritten) {
    for (const std::string kind : {"pipe", "socket"}) {
        SCOPED_TRACE(kind);
        TwoSourceJoin j;
        const std::string special = j.app.drives.host("c:\\dati\\b");
        fs::remove(special);
        int listener = -1;
        if (kind == "pipe") {
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
        // A join that waits for a writer would hang here; the alarm ends the test instead.
        ::alarm(60);
        j.join("out.bin", false, err::PathFileAccess);
        ::alarm(0);
        EXPECT_FALSE(j.app.drives.exists(Out));
        if (listener >= 0)
            ::close(listener);
    }
}

TEST(JoinSurvivalTest, AnOutputNamedByALinkReplacesTheLinkNotWhatItPointsTo) {
    TwoSourceJoin j;
    j.app.drives.makeFolders("c:\\fuori");
    j.app.drives.makeFolders("c:\\myfiles");
    j.app.drives.write("c:\\fuori\\vittima", "intatto");
    fs::create_symlink(j.app.drives.hostFile("c:\\fuori\\vittima"), j.app.drives.hostFile(Out));
    j.join("out.bin", true);
    EXPECT_EQ(j.app.drives.read("c:\\fuori\\vittima"), "intatto");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(j.app.drives.hostFile(Out))));
}

} // namespace
} // namespace brenvik
