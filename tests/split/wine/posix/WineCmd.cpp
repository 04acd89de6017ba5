#include "split/wine/WineCmd.h"

#include <cstdlib>
#include <sys/wait.h>

namespace brenvik {

namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int exitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The environment of every Wine start: the prefix, its home, the locale.
std::string environment(const fs::path& root) {
    return "env WINEPREFIX=" + shellQuoted((root / "prefix").string()) + " HOME=" + shellQuoted(root.string()) +
           " WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=C.UTF-8 LC_ALL=C.UTF-8";
}

} // namespace

// Under the neutral locale cmd reads batch files in page 437, which places the test names'
// accented letters where 850 does.
void Wine::SetUp() {
    if (std::system("command -v wine >/dev/null 2>&1") != 0) {
        missing_ = "Wine is not installed (Debian packages wine64 and wine): the reassembly scripts were not "
                   "run under cmd";
        return;
    }
    std::string pattern = (fs::temp_directory_path() / "brenvik-wine-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        missing_ = "no temporary folder for the Wine prefix";
        return;
    }
    root_ = pattern;
    const int made = exitCode(std::system((environment(root_) + " timeout -k 10 300 wine cmd /c exit 0 >" +
                                           shellQuoted((root_ / "prefix.log").string()) + " 2>&1")
                                              .c_str()));
    if (made != 0)
        failed_ =
            "Wine could not make its prefix (exit " + std::to_string(made) + "): " + readHostFile(root_ / "prefix.log");
}

void Wine::TearDown() {
    if (root_.empty())
        return;
    // The prefix's server would linger for a few seconds and keep its files busy.
    (void)std::system((environment(root_) + " wineserver -k >/dev/null 2>&1").c_str());
    std::error_code ec;
    fs::remove_all(root_, ec);
}

int Wine::cmd(const fs::path& folder, const std::string& input, const fs::path& log) {
    return exitCode(std::system(("cd " + shellQuoted(folder.string()) + " && printf " + shellQuoted(input) + " | " +
                                 environment(root_) + " timeout -k 5 60 wine cmd /c brenvik-run.bat >" +
                                 shellQuoted(log.string()) + " 2>&1")
                                    .c_str()));
}

} // namespace brenvik
