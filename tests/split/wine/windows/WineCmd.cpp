#include "split/wine/WineCmd.h"

#include "win32/Redirected.h"

namespace brenvik {

namespace fs = std::filesystem;

// This program runs under Wine already, in the locale its runner chose (see cmake/wine-run.in).
void Wine::SetUp() {
    wchar_t system[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !fs::exists(fs::path(system) / L"cmd.exe"))
        missing_ = "no cmd.exe in the system folder: the reassembly scripts were not run";
    italian_ = ::GetOEMCP() == 850 && PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_ITALIAN;
}

void Wine::TearDown() {}

int Wine::cmd(const fs::path& folder, const std::string& input, const fs::path& log) {
    const fs::path in = folder / "brenvik-run.in";
    std::ofstream(in, std::ios::binary | std::ios::trunc) << input;
    const int status = runRedirected(L"cmd.exe /c brenvik-run.bat", folder, in, log);
    fs::remove(in);
    return status;
}

} // namespace brenvik
