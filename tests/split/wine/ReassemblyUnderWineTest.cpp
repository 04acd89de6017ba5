// The reassembly scripts as a real command interpreter reads them: each case splits a file
// through the main window, runs the script it wrote under Wine's cmd in the parts' folder and
// compares the rebuilt file with the source. Without Wine every case is skipped with a message.

#include "split/SplitTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sys/wait.h>

namespace brenvik {
namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int exitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One Wine prefix for the whole program run (making one takes several seconds), with its own
// writable home. An Italian locale, when localedef can make one, gives cmd the OEM code page 850
// of an Italian Windows; otherwise Wine reads batch files in page 437.
class Wine : public ::testing::Environment {
public:
    static Wine* instance;

    void SetUp() override {
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
        fs::create_directories(root_ / "locale");
        const std::string locale = (root_ / "locale" / "it_IT.UTF-8").string();
        italian_ =
            std::system(("localedef -i it_IT -f UTF-8 " + shellQuoted(locale) + " >/dev/null 2>&1").c_str()) == 0;
        const int made = exitCode(std::system((environment() + " timeout -k 10 300 wine cmd /c exit 0 >" +
                                               shellQuoted((root_ / "prefix.log").string()) + " 2>&1")
                                                  .c_str()));
        if (made != 0)
            failed_ = "Wine could not make its prefix (exit " + std::to_string(made) +
                      "): " + readHostFile(root_ / "prefix.log");
    }

    void TearDown() override {
        if (root_.empty())
            return;
        // The prefix's server would linger for a few seconds and keep its files busy.
        (void)std::system((environment() + " wineserver -k >/dev/null 2>&1").c_str());
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    // Empty when Wine can run scripts; otherwise why not.
    const std::string& missing() const { return missing_; }
    const std::string& failed() const { return failed_; }
    bool italian() const { return italian_; }
    // The key that answers "Yes" to an overwrite prompt: "S" (Sì) in Italian.
    char yesKey() const { return italian_ ? 's' : 'y'; }

    struct Run {
        int exit = -1;
        std::string output;
    };

    // Runs `script` (a file in `folder`) with `folder` as cmd's current folder, `input` on its
    // standard input ("x" answers Pause). The script runs under a neutral name: cmd /c cannot
    // start a file whose name holds "&" or "%".
    Run run(const fs::path& folder, const std::string& script, const std::string& input) {
        const fs::path neutral = folder / "brenvik-run.bat";
        fs::copy_file(folder / script, neutral, fs::copy_options::overwrite_existing);
        const fs::path log = root_ / "run.log";
        const std::string command = "cd " + shellQuoted(folder.string()) + " && printf " + shellQuoted(input) + " | " +
                                    environment() + " timeout -k 5 60 wine cmd /c brenvik-run.bat >" +
                                    shellQuoted(log.string()) + " 2>&1";
        Run r;
        r.exit = exitCode(std::system(command.c_str()));
        // A prompt that repeats until the time-out fills the log; its start tells enough.
        r.output = readHostFile(log).substr(0, 4000);
        fs::remove(neutral);
        return r;
    }

private:
    std::string environment() const {
        std::string env = "env WINEPREFIX=" + shellQuoted((root_ / "prefix").string()) +
                          " HOME=" + shellQuoted(root_.string()) + " WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=";
        if (italian_)
            env += " LOCPATH=" + shellQuoted((root_ / "locale").string()) + " LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8";
        else
            env += " LANG=C.UTF-8 LC_ALL=C.UTF-8";
        return env;
    }

    fs::path root_;
    std::string missing_;
    std::string failed_;
    bool italian_ = false;
};

Wine* Wine::instance = nullptr;

const ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(Wine::instance = new Wine);

#define REQUIRE_WINE()                                                                                                 \
    do {                                                                                                               \
        if (!Wine::instance->missing().empty())                                                                        \
            GTEST_SKIP() << Wine::instance->missing();                                                                 \
        ASSERT_EQ(Wine::instance->failed(), "");                                                                       \
    } while (0)

// A file split through the window into c:\myfiles\[name], its script ready to run.
struct SplitFile : splittest::Split {
    SplitFile(const std::string& name, size_t size, int64_t kb) : Split(name, patternBytes(size, 3), kb) {
        run();
        folder = app.drives.host(dest());
    }
    std::string scriptName() const { return "Assembla[" + name + "].bat"; }
    std::string parts() { return splittest::joinParts(app.drives, dest() + "\\" + name + ".", m().numparti); }
    size_t scriptLines() {
        const std::string text = app.drives.read(script());
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    std::optional<std::string> rebuilt() {
        const fs::path target = folder / name;
        if (!fs::exists(target))
            return std::nullopt;
        return readHostFile(target);
    }

    // Runs the script as the receiver would, with no file of the target's name in the folder.
    Wine::Run rebuild(const std::string& input = "x") {
        fs::remove(folder / name);
        return Wine::instance->run(folder, scriptName(), input);
    }

    fs::path folder;
};

void expectRebuilt(SplitFile& f, int parts) {
    ASSERT_EQ(f.m().numparti, parts) << f.name;
    ASSERT_EQ(f.parts(), f.source) << f.name;
    const Wine::Run r = f.rebuild();
    EXPECT_EQ(r.exit, 0) << f.name << "\n" << r.output;
    const auto rebuilt = f.rebuilt();
    ASSERT_TRUE(rebuilt.has_value()) << f.name << ": no file rebuilt\n" << r.output;
    EXPECT_TRUE(*rebuilt == f.source) << f.name << ": " << rebuilt->size() << " bytes rebuilt of " << f.source.size()
                                      << "\n"
                                      << r.output;
    EXPECT_EQ(f.parts(), f.source) << f.name << ": the parts were written into";
}

TEST(ReassemblyUnderWine, OnePartAndThreeParts) {
    REQUIRE_WINE();
    SplitFile one("film.avi", 4096, 4);
    EXPECT_EQ(one.scriptLines(), 12u);
    expectRebuilt(one, 1);
    SplitFile three("film.avi", 10000, 4);
    EXPECT_EQ(three.scriptLines(), 12u);
    expectRebuilt(three, 3);
}

TEST(ReassemblyUnderWine, NamesTheInterpreterTreatsSpecially) {
    REQUIRE_WINE();
    for (const char* name : {"mio file.zip", "a&b.txt", "100%.txt", "città.txt", "a+b (1);x=y,z^.dat", "%PATH%"}) {
        SplitFile f(name, 5000, 2);
        EXPECT_EQ(f.scriptLines(), 12u) << name;
        expectRebuilt(f, 3);
    }
}

TEST(ReassemblyUnderWine, NameOutsideTheFirstHalfOfThePageNeedsCodePage850) {
    REQUIRE_WINE();
    if (!Wine::instance->italian())
        GTEST_SKIP() << "localedef could not make it_IT.UTF-8, so cmd reads batch files in page 437, not 850";
    // "ø" has a byte of its own in 850 (0x9B) and none in 437.
    SplitFile f("Søren è.txt", 3000, 1);
    expectRebuilt(f, 3);
}

TEST(ReassemblyUnderWine, MorePartsThanFitOneLine) {
    REQUIRE_WINE();
    SplitFile f("film.avi", 1000 * 1024, 1);
    EXPECT_GT(f.scriptLines(), 12u) << "the copy is cut into several commands";
    expectRebuilt(f, 1000);
    EXPECT_FALSE(fs::exists(f.folder / "film.avi.$$$"));

    // A file that happens to bear the temporary name is the receiver's: it stays as it was.
    fs::remove(f.folder / "film.avi");
    std::ofstream(f.folder / "film.avi.$$$", std::ios::binary) << "not ours";
    const Wine::Run kept = Wine::instance->run(f.folder, f.scriptName(), "x");
    EXPECT_EQ(readHostFile(f.folder / "film.avi.$$$"), "not ours") << kept.output;
    EXPECT_FALSE(fs::exists(f.folder / "film.avi")) << kept.output;
    fs::remove(f.folder / "film.avi.$$$");

    // A space, a percent sign, an ampersand and an accent in the long form too, in a name as
    // long as the parts' paths allow: cmd cannot reach a path of more than 259 characters, and
    // Z:<tmp>/brenvik-test-XXXXXX/c/myfiles/[name]\name.000 is 41 + 2 x name + <tmp> long.
    const char* tmp = std::getenv("TMPDIR");
    const size_t tmpLength = std::string(tmp && *tmp ? tmp : "/tmp").size();
    const size_t length = std::clamp<size_t>((255 - std::min<size_t>(tmpLength, 150) - 41) / 2, 20, 110);
    SplitFile g(std::string(length - 15, 'n') + " 100% & più.dat", 200 * 1024 + 7, 1);
    EXPECT_GT(g.scriptLines(), 13u);
    expectRebuilt(g, 201);
}

// Wine's COPY repeats its overwrite prompt for ever after "No" when it joins several sources, so
// the one-line form is only asked "Yes" here; the long form's MOVE takes both answers.
TEST(ReassemblyUnderWine, ExistingTargetIsReplacedOnlyWhenTheUserSaysSo) {
    REQUIRE_WINE();
    const std::string yes = std::string("x") + Wine::instance->yesKey() + "\r\n";
    for (int parts : {3, 700}) {
        SplitFile f("film.avi", static_cast<size_t>(parts) * 1024, 1);
        ASSERT_EQ(f.m().numparti, parts);
        const fs::path target = f.folder / "film.avi";
        std::ofstream(target, std::ios::binary) << "the receiver's own file";

        if (parts > 3) {
            const Wine::Run r = Wine::instance->run(f.folder, f.scriptName(), "xn\r\n");
            EXPECT_EQ(r.exit, 0) << r.output;
            EXPECT_EQ(readHostFile(target), "the receiver's own file") << "answer No\n" << r.output;
            EXPECT_FALSE(fs::exists(f.folder / "film.avi.$$$")) << "no leftover after a refusal";
        }
        const Wine::Run r = Wine::instance->run(f.folder, f.scriptName(), yes);
        EXPECT_EQ(r.exit, 0) << r.output;
        EXPECT_NE(r.output.find("?"), std::string::npos) << parts << " parts: no question was asked\n" << r.output;
        EXPECT_TRUE(readHostFile(target) == f.source) << parts << " parts, answer Yes\n" << r.output;
        EXPECT_EQ(f.parts(), f.source);
    }
}

} // namespace
} // namespace brenvik
