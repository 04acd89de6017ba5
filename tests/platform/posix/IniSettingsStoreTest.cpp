#include "platform/posix/IniSettingsStore.h"

#include "support/HostFaults.h"
#include "support/TestDrives.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brenvik {
namespace {

TEST(SettingsTest, IniStoreRoundTripsTextExactlyAndSurvivesABadFile) {
    TestDrives d;
    std::string folder = d.root() + "/config/deeper";
    {
        IniSettingsStore store(folder);
        store.save("Brenvik", "Destinazione", "dir", "c:\\myfiles\\");
        store.save("Brenvik", "opzioni", "about", "0");
        store.save("Brenvik", "Destinazione", "dir", "d:\\parti = uno ");
    }
    IniSettingsStore again(folder);
    EXPECT_EQ(again.read("Brenvik", "destinazione", "DIR", "?"), "d:\\parti = uno ");
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "?"), "0");
    again.save("Brenvik", "path", "initialdir", "c:\\myfiles\\");
    EXPECT_EQ(IniSettingsStore(folder).read("Brenvik", "path", "initialdir", "?"), "c:\\myfiles\\");

    std::ofstream(again.filePath("Brenvik"), std::ios::trunc) << "[opzi";
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "1") << "a truncated file reads as empty";

    std::ofstream(again.filePath("Brenvik"), std::ios::trunc) << "[opzioni]\nabout=0\n";
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(again.filePath("Brenvik").c_str(), 0200), 0);
        EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "1") << "an unreadable file reads as empty";
        again.save("Brenvik", "opzioni", "cartsplit", "1");
        EXPECT_EQ(again.read("Brenvik", "opzioni", "cartsplit", "0"), "1") << "kept for the run";
        ASSERT_EQ(::chmod(again.filePath("Brenvik").c_str(), 0600), 0);
    }
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "0") << "the file it could not read is not replaced";
}

} // namespace
} // namespace brenvik
