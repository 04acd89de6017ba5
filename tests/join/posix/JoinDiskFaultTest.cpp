#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "support/HostFaults.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brenvik {
namespace {

// Two sources selected in c:\dati, joined into c:\myfiles\out.bin, against real disks that fail.
struct DiskJoin {
    DiskJoin() { selectToJoin(app, {{"a", first}, {"b", second}}); }

    // Joins into `name`, expecting the join's error box for `number` and nothing claimed done.
    void joinFailing(const std::string& name, int number) {
        typeName(app.desktop, name);
        app.desktop.answer(mb::IdOK);
        app.main().uniscifile.userClick();
        ASSERT_FALSE(app.desktop.boxes.empty());
        EXPECT_EQ(app.desktop.boxes.back().text,
                  "Errore numero " + std::to_string(number) + ":" + describeError(number));
        EXPECT_EQ(app.main().bianco.caption(), "0");
        EXPECT_EQ(app.main().infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!");
        EXPECT_TRUE(app.launcher.started.empty());
    }
    // The sources are as they were, and the program still joins them into a folder that works.
    void joinsElsewhere() {
        EXPECT_EQ(app.drives.read("c:\\dati\\a"), first);
        EXPECT_EQ(app.drives.read("c:\\dati\\b"), second);
        app.store("Destinazione", "dir", "c:\\altrove");
        typeName(app.desktop, "out.bin");
        app.main().uniscifile.userClick();
        EXPECT_EQ(app.main().infolabel.caption(), "File Creato in c:\\altrove\\out.bin");
        EXPECT_EQ(app.drives.read("c:\\altrove\\out.bin"), first + second);
    }

    TestApp app;
    const std::string first = patternBytes(40000, 1);
    const std::string second = patternBytes(40000, 2);
};

TEST(JoinDiskFaultTest, ADiskThatFillsUpLeavesNoIncompleteOutput) {
    DiskJoin j;
    SmallDisk disk(j.app.drives.host("c:\\myfiles"), 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    j.joinFailing("out.bin", err::DiskFull);
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin"));
    j.joinsElsewhere();
}

TEST(JoinDiskFaultTest, AReadOnlyDestinationKeepsTheFileThereEvenAfterYes) {
    DiskJoin j;
    SmallDisk disk(j.app.drives.host("c:\\myfiles"), 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    j.app.drives.write("c:\\myfiles\\out.bin", "del proprietario");
    disk.makeReadOnly();
    j.app.desktop.answer(mb::IdYes);
    j.joinFailing("out.bin", err::PermissionDenied);
    EXPECT_EQ(j.app.drives.read("c:\\myfiles\\out.bin"), "del proprietario");
    j.joinFailing("nuovo.bin", err::PermissionDenied);
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\nuovo.bin"));
    j.joinsElsewhere();
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
    j.joinsElsewhere();
}

TEST(JoinDiskFaultTest, ADestinationOnADriveThatCannotBeReachedWritesNothing) {
    DiskJoin j;
    const std::string media = j.app.drives.root() + "/media";
    j.app.drives.mapDrive('e', media);
    j.app.store("Destinazione", "dir", "e:\\uniti");
    j.joinFailing("out.bin", err::DiskNotReady);
    EXPECT_FALSE(std::filesystem::exists(media));
    j.joinsElsewhere();
}

} // namespace
} // namespace brenvik
