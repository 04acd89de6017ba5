#pragma once

#include "platform/windows/Win32.h"

#include <filesystem>
#include <string>

namespace brenvik {

// Runs `command` in `folder`, its standard input read from the file `input`, its output and errors
// written to the file `log`; stopped (exit status 124) when it has not ended after a minute, as a
// prompt that repeats for ever would not. Its exit status, or -1 when it could not start.
inline int runRedirected(std::wstring command, const std::filesystem::path& folder, const std::filesystem::path& input,
                         const std::filesystem::path& log) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput = startup.hStdError =
        CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    PROCESS_INFORMATION process{};
    DWORD status = static_cast<DWORD>(-1);
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                       &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 124);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdInput);
    CloseHandle(startup.hStdOutput);
    return static_cast<int>(status);
}

} // namespace brenvik
