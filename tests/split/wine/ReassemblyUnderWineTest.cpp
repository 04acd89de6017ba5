// The reassembly scripts as a real command interpreter reads them: each case splits a file
// through the main window, runs the script it wrote under Wine's cmd in the parts' folder and
// compares the rebuilt file with the source. Without Wine every case is skipped with a message.
// The Linux build starts Wine for each script; the Windows build, itself under Wine, starts cmd.

#include "split/SplitTestSupport.h"
#include "split/wine/WineCmd.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>

namespace brenvik {
namespace {

namespace fs = std::filesystem;

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
        folder = app.drives.hostFile(dest());
    }
    std::string scriptName() const { return "Assembla[" + name + "].bat"; }
    std::string parts() { return splittest::joinParts(app.drives, dest() + "\\" + name + ".", m().numparti); }
    size_t scriptLines() {
        const std::string text = app.drives.read(script());
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    std::optional<std::string> rebuilt() {
        const fs::path target = folder / hostFsPath(name);
        if (!fs::exists(target))
            return std::nullopt;
        return readHostFile(target);
    }

    // Runs the script as the receiver would, with no file of the target's name in the folder.
    Wine::Run rebuild(const std::string& input = "x") {
        fs::remove(folder / hostFsPath(name));
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

TEST(ReassemblyUnderWine, OneAndThreePartsAndNamesTheInterpreterTreatsSpecially) {
    REQUIRE_WINE();
    struct Case {
        std::string name;
        size_t size;
        int64_t kb;
        int parts;
    };
    std::vector<Case> cases = {{"film.avi", 4096, 4, 1}, {"film.avi", 10000, 4, 3}};
    for (const char* name : {"mio file.zip", "a&b.txt", "100%.txt", "città.txt", "a+b (1);x=y,z^.dat", "%PATH%"})
        cases.push_back({name, 5000, 2, 3});
    for (const Case& c : cases) {
        SplitFile f(c.name, c.size, c.kb);
        EXPECT_EQ(f.scriptLines(), 12u) << c.name;
        expectRebuilt(f, c.parts);
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
    // Z:<root>/c/myfiles/[name]\name.000 is at most 21 + 2 x name + <root> long, the root being
    // the test's temporary folder.
    const size_t rootLength = f.app.drives.root().size();
    const size_t length = std::clamp<size_t>((255 - 21 - std::min<size_t>(rootLength, 170)) / 2, 20, 110);
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
