#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "support/HostFaults.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brenvik {
namespace {

// Two sources selected in c:\dati joined against real disks that fail: the join's error box,
// nothing claimed done, the sources as they were, and no output left unless it was there before.
struct DiskJoin {
    DiskJoin() { selectToJoin(app, {{"a", first}, {"b", second}}); }

    void joinFailing(const std::string& name, int number) {
        answerName(app.desktop, name);
        app.desktop.answer(mb::IdOK);
        app.main().uniscifile.userClick();
        ASSERT_FALSE(app.desktop.boxes.empty());
        EXPECT_EQ(app.desktop.boxes.back().text,
                  "Errore numero " + std::to_string(number) + ":" + describeError(number));
        EXPECT_EQ(app.main().infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!");
    }
    void sourcesKept() { EXPECT_EQ(app.drives.read("c:\\dati\\a") + app.drives.read("c:\\dati\\b"), first + second); }

    TestApp app;
    const std::string first = patternBytes(40000, 1);
    const std::string second = patternBytes(40000, 2);
};

TEST(JoinDiskFaultTest, ADiskThatFillsUpLeavesNoIncompleteOutputAndAReadOnlyOneKeepsTheFileThere) {
    for (bool readOnly : {false, true}) {
        DiskJoin j;
        SmallDisk disk(j.app.drives.host("c:\\myfiles"), 64 * 1024);
        if (!disk.mounted())
            GTEST_SKIP() << disk.skipReason();
        if (!readOnly) {
            j.joinFailing("out.bin", err::DiskFull);
            EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin"));
            j.sourcesKept();
            continue;
        }
        j.app.drives.write("c:\\myfiles\\out.bin", "del proprietario");
        disk.makeReadOnly();
        j.app.desktop.answer(mb::IdYes);
        j.joinFailing("out.bin", err::PermissionDenied);
        EXPECT_EQ(j.app.drives.read("c:\\myfiles\\out.bin"), "del proprietario") << "even after Yes";
        j.joinFailing("nuovo.bin", err::PermissionDenied);
        EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\nuovo.bin"));
        j.sourcesKept();
    }
}

TEST(JoinDiskFaultTest, ASourceWithoutReadPermissionStopsTheJoin) {
    DiskJoin j;
    const std::string host = j.app.drives.host("c:\\dati\\b");
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(host.c_str(), 0200), 0);
        j.joinFailing("out.bin", err::PermissionDenied);
        ASSERT_EQ(::chmod(host.c_str(), 0600), 0);
    }
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin")) << "the output it had begun is removed";
    j.sourcesKept();
    // The program runs on.
    answerName(j.app.desktop, "out.bin");
    j.app.main().uniscifile.userClick();
    EXPECT_EQ(j.app.drives.read("c:\\myfiles\\out.bin"), j.first + j.second);
}

} // namespace
} // namespace brenvik
