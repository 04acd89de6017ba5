#include "split/wine/WineCmd.h"

#include "support/TestDrives.h"

#include <fstream>
#include <iterator>
#include <random>
#include <windows.h>

namespace brenvik {

namespace fs = std::filesystem;

Wine* Wine::instance = nullptr;

// This program runs under Wine already, in the locale its runner chose (see cmake/wine-run.in).
void Wine::SetUp() {
    wchar_t system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !fs::exists(fs::path(system) / L"cmd.exe")) {
        missing_ = "no cmd.exe in the system folder: the reassembly scripts were not run";
        return;
    }
    italian_ = ::GetOEMCP() == 850 && PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_ITALIAN;
    std::random_device seed;
    root_ = fs::temp_directory_path() / ("brenvik-wine-" + std::to_string(seed() % 1000000));
    std::error_code ec;
    fs::create_directories(root_, ec);
    if (ec)
        missing_ = "no temporary folder for the scripts' logs";
}

void Wine::TearDown() {
    std::error_code ec;
    if (!root_.empty())
        fs::remove_all(root_, ec);
}

Wine::Run Wine::run(const fs::path& folder, const std::string& script, const std::string& input) {
    const fs::path neutral = folder / "brenvik-run.bat";
    fs::copy_file(folder / hostFsPath(script), neutral, fs::copy_options::overwrite_existing);
    const fs::path in = root_ / "input.txt";
    const fs::path log = root_ / "run.log";
    std::ofstream(in, std::ios::binary | std::ios::trunc) << input;

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE stdinFile = ::CreateFileW(in.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE output = ::CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    Run r;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = stdinFile;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    std::wstring command = L"cmd.exe /c brenvik-run.bat";
    if (stdinFile != INVALID_HANDLE_VALUE && output != INVALID_HANDLE_VALUE &&
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                         &process)) {
        // A prompt that repeats for ever is stopped after a minute, as on the Linux side.
        if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT)
            ::TerminateProcess(process.hProcess, 124);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.hProcess, &code))
            r.exit = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    if (stdinFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(stdinFile);
    if (output != INVALID_HANDLE_VALUE)
        ::CloseHandle(output);
    // A prompt that repeats until the time-out fills the log; its start tells enough.
    r.output = readHostFile(log).substr(0, 4000);
    fs::remove(neutral);
    return r;
}

} // namespace brenvik
