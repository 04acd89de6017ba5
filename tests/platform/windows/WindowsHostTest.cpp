// The Windows platform layer on the system itself: real paths, the registry, program start.
#include "platform/HostLauncher.h"
#include "platform/RuntimeError.h"
#include "platform/windows/RegistrySettingsStore.h"
#include "platform/windows/Win32.h"
#include "support/TestDrives.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace brenvik {
namespace {

TEST(WindowsHostTest, PathTextsAreTheSystemsOwnAndNamesKeepEveryCharacter) {
    TestDrives temp; // only for a folder of our own; the system's drives are used below
    HostFileSystem fs(DriveTable::forThisUser());
    const std::string root = temp.under("c");
    EXPECT_TRUE(std::ranges::any_of(fs.drives(), [&](const DriveInfo& d) { return d.letter == std::tolower(root[0]); }))
        << "the drive of the temporary folder is listed";
    EXPECT_EQ(fs.hostPath(root + "\\x\\..\\città"), root + "\\città") << "the text is the path";

    fs.makeFolder(root + "\\città");
    std::unique_ptr<NewFile> out = fs.createNew(root + "\\città\\日本.bin");
    out->file().write("12345", 5);
    out->commit(Existing::Keep);
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

// Run by the test below in a process of its own, which that test kills: files written aside, one
// of them flushed, none named.
TEST(WindowsHostTest, WritesAsideUntilKilled) {
    const char* folder = std::getenv("BRENVIK_KILLED_WRITER");
    if (!folder)
        GTEST_SKIP() << "run by WindowsFileSystemTest.AKilledWriterLeavesNothing";
    HostFileSystem fs(DriveTable::forThisUser());
    std::unique_ptr<NewFile> written = fs.createNew(std::string(folder) + "\\a.bin");
    std::unique_ptr<NewFile> flushed = fs.createNew(std::string(folder) + "\\b.bin");
    for (NewFile* f : {written.get(), flushed.get()})
        f->file().write("12345", 5);
    flushed->flush();
    std::ofstream(hostFsPath(std::string(folder) + "\\pronto")) << "x";
    ::Sleep(INFINITE);
}

// The system removes what a killed run was writing aside: its handles close with it.
TEST(WindowsHostTest, AKilledWriterLeavesNothing) {
    TestDrives temp;
    const std::string folder = temp.under("c");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"BRENVIK_KILLED_WRITER", win::widen(folder).c_str()));
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=WindowsHostTest.WritesAsideUntilKilled";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    ::SetEnvironmentVariableW(L"BRENVIK_KILLED_WRITER", nullptr);
    for (int i = 0; i < 400 && !temp.exists("c:\\pronto"); ++i)
        ::Sleep(50);
    ASSERT_TRUE(temp.exists("c:\\pronto")) << "the writer never got ready";
    ::TerminateProcess(child.hProcess, 9);
    ::WaitForSingleObject(child.hProcess, 10000);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    EXPECT_EQ(temp.fs().files("c:\\"), std::vector<std::string>{"pronto"});
}

TEST(WindowsHostTest, RegistryKeepsTextsUnderTheUsersSoftwareKey) {
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

TEST(WindowsHostTest, CommandLineReachesTheProgramIntact) {
    TestDrives temp;
    temp.makeFolders("c:\\già fatto");
    const std::string target = temp.host("c:\\già fatto\\avviato.txt");
    HostLauncher::run("cmd.exe /c echo avviato> \"" + target + "\"");
    // Nothing waits for the program: the test does.
    for (int i = 0; i < 200 && !temp.exists("c:\\già fatto\\avviato.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(temp.read("c:\\già fatto\\avviato.txt"), "avviato\r\n");
}

} // namespace
} // namespace brenvik
