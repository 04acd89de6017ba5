// Programs started with CreateProcessW.
#include "platform/HostLauncher.h"

#include "platform/RuntimeError.h"
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

void HostLauncher::openHostFolder(const std::string& hostFolder) {
    // Quoted, because the explorer reads a comma as the end of the folder.
    spawn("explorer.exe \"" + hostFolder + "\"");
}

void HostLauncher::run(const std::string& commandLine) {
    spawn(commandLine);
}

} // namespace brenvik
