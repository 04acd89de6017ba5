#include "platform/HostFileSystem.h"
#include "platform/WinPath.h"
#include "platform/posix/IniSettingsStore.h"
#include "support/HostFaults.h"
#include "support/TestDrives.h"

#include <filesystem>
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

// Linux allows in a name what no Windows path can hold: every byte it allows, alone and inside a
// longer name, as files and folders.
TEST(FileSystemTest, NamesNoWindowsPathCanHoldAreNotListedAndEveryOtherOneOpens) {
    TestDrives d;
    d.makeFolders("c:\\nomi\\cartelle");
    std::vector<std::string> openable;
    for (int b = 1; b < 256; ++b) {
        if (b == '/' || b == '.')
            continue;
        const std::string c(1, static_cast<char>(b));
        for (const std::string& name : {c, "a" + c + "b.txt"}) {
            std::ofstream(d.root() + "/c/nomi/" + name) << name;
            std::filesystem::create_directory(d.root() + "/c/nomi/cartelle/" + name);
            if (!winpath::hasInvalidNameChar(name))
                openable.push_back(name);
        }
    }
    HostFileSystem& fs = d.fs();
    std::sort(openable.begin(), openable.end(), nameLess);
    EXPECT_EQ(fs.files("c:\\nomi"), openable);
    EXPECT_EQ(fs.folders("c:\\nomi\\cartelle"), openable);
    for (const std::string& name : fs.files("c:\\nomi")) {
        EXPECT_EQ(fs.fileLength("c:\\nomi\\" + name), static_cast<int64_t>(name.size())) << name;
        fs.checkFolder("c:\\nomi\\cartelle\\" + name);
    }
}

} // namespace
} // namespace brenvik
