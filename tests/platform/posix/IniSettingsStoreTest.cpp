#include "platform/IniSettingsStore.h"

#include "support/TestDrives.h"

#include <fstream>
#include <gtest/gtest.h>

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
    EXPECT_EQ(again.read("Brenvik", "opzioni", "cartsplit", "dflt"), "dflt");
    again.save("Brenvik", "path", "initialdir", "c:\\myfiles\\");
    EXPECT_EQ(IniSettingsStore(folder).read("Brenvik", "path", "initialdir", "?"), "c:\\myfiles\\");

    std::ofstream(again.filePath("Brenvik"), std::ios::trunc) << "[opzi";
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "1") << "a truncated file reads as empty";
}

} // namespace
} // namespace brenvik
