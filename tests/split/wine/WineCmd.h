#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace brenvik {

// Wine's cmd for the whole program run. The Linux build makes one Wine prefix (which takes
// several seconds) with its own writable home and starts Wine for each script; the Windows
// build runs under Wine already and starts cmd itself.
class Wine : public ::testing::Environment {
public:
    static Wine* instance;

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
    // start a file whose name holds "&" or "%".
    Run run(const std::filesystem::path& folder, const std::string& script, const std::string& input);

private:
    std::filesystem::path root_;
    std::string missing_;
    std::string failed_;
    bool italian_ = false;
};

inline std::string readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace brenvik
