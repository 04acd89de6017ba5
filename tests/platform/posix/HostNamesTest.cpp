#include "platform/HostFileSystem.h"
#include "platform/WinPath.h"
#include "support/TestDrives.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

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
