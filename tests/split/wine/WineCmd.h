#pragma once

#include "support/TestDrives.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace brenvik {

inline std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Wine's cmd for the whole program run. The Linux build makes one Wine prefix (which takes
// several seconds) with its own writable home and starts Wine for each script; the Windows
// build runs under Wine already and starts cmd itself.
class Wine : public ::testing::Environment {
public:
    inline static Wine* instance = nullptr;

    void SetUp() override;
    void TearDown() override;

    // Empty when Wine can run scripts; otherwise why not.
    const std::string& missing() const { return missing_; }
    const std::string& failed() const { return failed_; }
    // The key that answers "Yes" to an overwrite prompt: "S" (Sì) when cmd speaks Italian.
    char yesKey() const { return italian_ ? 's' : 'y'; }

    struct Run {
        int exit = -1;
        std::string output;
    };

    // Runs `script` (a file in `folder`) with `folder` as cmd's current folder, `input` on its
    // standard input ("x" answers Pause). The script runs under a neutral name: cmd /c cannot
    // start a file whose name holds "&" or "%"; that copy and cmd's log lie beside it for the run.
    Run run(const std::filesystem::path& folder, const std::string& script, const std::string& input) {
        namespace fs = std::filesystem;
        fs::copy_file(folder / hostFsPath(script), folder / "brenvik-run.bat", fs::copy_options::overwrite_existing);
        const fs::path log = folder / "brenvik-run.log";
        // A prompt that repeats until the time-out fills the log; its start tells enough.
        Run r{cmd(folder, input, log), readHostFile(log).substr(0, 4000)};
        fs::remove(log);
        fs::remove(folder / "brenvik-run.bat");
        return r;
    }

private:
    // Runs brenvik-run.bat in `folder` under cmd, `input` on its standard input, its output into
    // `log`, for a minute at most; its exit status.
    int cmd(const std::filesystem::path& folder, const std::string& input, const std::filesystem::path& log);

    std::filesystem::path root_; // the Linux build's prefix and home
    std::string missing_;
    std::string failed_;
    bool italian_ = false;
};

} // namespace brenvik
