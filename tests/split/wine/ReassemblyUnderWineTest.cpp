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
        target = folder / hostFsPath(name);
        const std::string text = app.drives.read(script());
        scriptLines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    std::string parts() { return splittest::joinParts(app.drives, dest() + "\\" + name + ".", m().numparti); }
    Wine::Run rebuild(const std::string& input) {
        return Wine::instance->run(folder, "Assembla[" + name + "].bat", input);
    }

    // Runs the script as the receiver would, with no file of the target's name in the folder.
    void expectRebuilt(int count) {
        ASSERT_EQ(m().numparti, count) << name;
        fs::remove(target);
        const Wine::Run r = rebuild("x");
        EXPECT_EQ(r.exit, 0) << name << "\n" << r.output;
        EXPECT_TRUE(fs::exists(target) && readHostFile(target) == source) << name << ": not rebuilt\n" << r.output;
        EXPECT_EQ(parts(), source) << name << ": the parts were written into";
    }

    fs::path folder;
    fs::path target;
    size_t scriptLines;
};

TEST(ReassemblyUnderWine, OneAndThreePartsAndNamesTheInterpreterTreatsSpecially) {
    REQUIRE_WINE();
    struct Case {
        std::string name;
        size_t size;
        int parts;
    };
    for (const Case& c : {Case{"film.avi", 2048, 1}, Case{"mio file.zip", 5000, 3}, Case{"100%.txt", 5000, 3},
                          Case{"a+b (1);x=y,z^&.dat", 5000, 3}}) {
        SplitFile f(c.name, c.size, 2);
        EXPECT_EQ(f.scriptLines, 12u) << c.name;
        f.expectRebuilt(c.parts);
    }
}

// Wine's COPY repeats its overwrite prompt for ever after "No" when it joins several sources, so
// the one-line form is not run against an existing target here; the long form's MOVE asks.
TEST(ReassemblyUnderWine, MorePartsThanFitOneLineAndAnExistingTargetReplacedOnlyOnYes) {
    REQUIRE_WINE();
    SplitFile f("p 100% & più.dat", 1000 * 1024, 1);
    EXPECT_GT(f.scriptLines, 12u) << "the copy is cut into several commands";
    f.expectRebuilt(1000);
    const fs::path temporary = f.folder / hostFsPath(f.name + ".$$$");
    EXPECT_FALSE(fs::exists(temporary));

    std::ofstream(f.target, std::ios::binary) << "the receiver's own file";
    Wine::Run r = f.rebuild("xn\r\n");
    EXPECT_EQ(readHostFile(f.target), "the receiver's own file") << "answer No\n" << r.output;
    EXPECT_FALSE(fs::exists(temporary)) << "no leftover after a refusal";
    r = f.rebuild(std::string("x") + Wine::instance->yesKey() + "\r\n");
    EXPECT_NE(r.output.find("?"), std::string::npos) << "no question was asked\n" << r.output;
    EXPECT_TRUE(readHostFile(f.target) == f.source) << "answer Yes\n" << r.output;
}

} // namespace
} // namespace brenvik
