// The Windows platform layer on the system itself: real paths, the registry, program start.
#include "platform/HostLauncher.h"
#include "platform/RuntimeError.h"
#include "platform/windows/RegistrySettingsStore.h"
#include "support/TestDrives.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace brenvik {
namespace {

TEST(WindowsFileSystemTest, PathTextsAreTheSystemsOwnAndNamesKeepEveryCharacter) {
    TestDrives temp; // only for a folder of our own; the system's drives are used below
    HostFileSystem fs(DriveTable::forThisUser());
    const std::string root = temp.under("c");
    EXPECT_TRUE(std::ranges::any_of(fs.drives(), [&](const DriveInfo& d) { return d.letter == std::tolower(root[0]); }))
        << "the drive of the temporary folder is listed";
    EXPECT_EQ(fs.hostPath(root + "\\x\\..\\città"), root + "\\città") << "the text is the path";

    fs.makeFolder(root + "\\città");
    FileSystem::Temporary out = fs.createTemporary(root + "\\città\\日本.bin");
    out.file->write("12345", 5);
    out.file->close();
    fs.rename(out.path, root + "\\città\\日本.bin", FileSystem::Existing::Keep);
    EXPECT_EQ(fs.files(root + "\\CITTÀ"), std::vector<std::string>{"日本.bin"});
    EXPECT_EQ(fs.fileLength(root + "\\città\\日本.bin"), 5);
    EXPECT_TRUE(std::filesystem::exists(hostFsPath(root) / L"citt\u00e0" / L"\u65e5\u672c.bin"))
        << "the name on disk is the UTF-16 one";

    const DWORD present = ::GetLogicalDrives();
    char absent = 'z';
    while (absent > 'a' && (present & (1u << (absent - 'a'))))
        --absent;
    EXPECT_EQ(failureOf([&] { fs.checkFolder(std::string(1, absent) + ":\\"); }), err::DeviceUnavailable);
}

TEST(WindowsSettingsTest, RegistryKeepsTextsUnderTheUsersSoftwareKey) {
    const std::string app = "BrenvikTest" + std::to_string(::GetCurrentProcessId());
    const std::wstring appKey = L"Software\\" + std::wstring(app.begin(), app.end());
    {
        RegistrySettingsStore store;
        EXPECT_EQ(store.read(app, "opzioni", "about", "1"), "1");
        HKEY probe = nullptr;
        EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, appKey.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS)
            << "reading creates nothing";
        store.save(app, "Destinazione", "dir", "c:\\myfiles\\");
        store.save(app, "Destinazione", "DIR", "d:\\parti = città ");
        store.save(app, "opzioni", "about", "0");
    }
    RegistrySettingsStore again;
    EXPECT_EQ(again.read(app, "destinazione", "dir", "?"), "d:\\parti = città ");

    wchar_t text[64] = {};
    DWORD bytes = sizeof text;
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, (appKey + L"\\opzioni").c_str(), L"about", RRF_RT_REG_SZ, nullptr, text,
                             &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(text), L"0");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, appKey.c_str());
}

TEST(WindowsLauncherTest, CommandLineReachesTheProgramIntact) {
    TestDrives temp;
    temp.makeFolders("c:\\già fatto");
    HostFileSystem fs(DriveTable::forThisUser());
    HostLauncher launcher(fs);
    const std::string target = temp.host("c:\\già fatto\\avviato.txt");
    launcher.start("cmd.exe /c echo avviato> \"" + target + "\"");
    // Nothing waits for the program: the test does.
    for (int i = 0; i < 200 && !temp.exists("c:\\già fatto\\avviato.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(temp.read("c:\\già fatto\\avviato.txt"), "avviato\r\n");
}

} // namespace
} // namespace brenvik
