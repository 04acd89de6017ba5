// Programs started with CreateProcessW. "explorer.exe " + a folder opens that folder, mapped
// through the file system, in the system's file explorer.
#include "platform/HostLauncher.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/windows/Win32.h"

namespace brenvik {

namespace {

void spawn(const std::string& commandLine) {
    std::wstring line;
    try {
        line = win::widen(commandLine);
    } catch (const RuntimeError&) {
        return;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // The command line buffer must be writable; nothing waits for the program.
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

} // namespace

void HostLauncher::start(const std::string& commandLine) {
    const std::string explorer = "explorer.exe";
    if (utf8::asciiLower(commandLine.substr(0, explorer.size())) != explorer) {
        spawn(commandLine);
        return;
    }
    std::string folder = commandLine.substr(explorer.size());
    if (!folder.empty() && folder.front() == ' ')
        folder.erase(0, 1);
    if (folder.empty())
        folder = "c:\\";
    try {
        // Quoted, because the explorer reads a comma as the end of the folder.
        spawn("explorer.exe \"" + files_.hostPath(folder) + "\"");
    } catch (const RuntimeError&) {
        // The file manager is a courtesy: a folder that cannot be mapped opens nothing.
    }
}

} // namespace brenvik
