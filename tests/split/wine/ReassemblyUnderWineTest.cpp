// The reassembly scripts as a real command interpreter reads them: each case splits a file
// through the main window, runs the script it wrote under Wine's cmd in the parts' folder and
// compares the rebuilt file with the source. Without Wine every case is skipped with a message.
// The Linux build starts Wine for each script; the Windows build, itself under Wine, starts cmd.

#include "split/SplitTestSupport.h"
#include "split/wine/WineCmd.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

const ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(Wine::instance = new Wine);

// Every case is skipped without Wine, and fails when Wine could not make its prefix.
class ReassemblyUnderWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Wine::instance->missing().empty())
            GTEST_SKIP() << Wine::instance->missing();
        ASSERT_EQ(Wine::instance->failed(), "");
    }
};

// A file split through the window into c:\myfiles\[name], its script ready to run.
struct SplitFile : splittest::Split {
    SplitFile(const std::string& fileName, size_t size, int64_t kb) : Split(fileName, patternBytes(size, 3), kb) {
        run();
    }
    std::string target() const { return dest() + "\\" + name; }
    Wine::Run rebuild(const std::string& input) {
        return Wine::instance->run(app.drives.hostFile(dest()), "Assembla[" + name + "].bat", input);
    }

    // Runs the script as the receiver would, in a folder of the parts and the script alone.
    void expectRebuilt(int count) {
        ASSERT_EQ(m().numparti, count) << name;
        const Wine::Run r = rebuild("x");
        EXPECT_EQ(r.exit, 0) << name << "\n" << r.output;
        EXPECT_TRUE(app.drives.exists(target()) && app.drives.read(target()) == source) << name << ": not rebuilt\n"
                                                                                        << r.output;
        EXPECT_TRUE(splittest::joinParts(app.drives, dest() + "\\" + name + ".", count) == source)
            << name << ": the parts were written into";
    }
};

// One part, three, and names the interpreter treats specially, each on one copy line.
TEST_F(ReassemblyUnderWineTest, OneAndThreePartsAndNamesTheInterpreterTreatsSpecially) {
    struct Case {
        std::string name;
        size_t size;
        int parts;
    };
    for (const Case& c : {Case{"film.avi", 2048, 1}, Case{"mio file.zip", 5000, 3}, Case{"100%.txt", 5000, 3},
                          Case{"a+b (1);x=y,z^&.dat", 5000, 3}})
        SplitFile(c.name, c.size, 2).expectRebuilt(c.parts);
}

// The copy gathered over several commands. Wine's COPY repeats its overwrite prompt for ever after
// "No" when it joins several sources, so the one-line form is not run against an existing target
// here; the long form's MOVE asks.
TEST_F(ReassemblyUnderWineTest, MorePartsThanFitOneLineAndAnExistingTargetReplacedOnlyOnYes) {
    SplitFile f("p 100% & più.dat", 1000 * 1024, 1);
    f.expectRebuilt(1000);
    const std::string temporary = f.target() + ".$$$";
    EXPECT_FALSE(f.app.drives.exists(temporary));

    f.app.drives.write(f.target(), "the receiver's own file");
    Wine::Run r = f.rebuild("xn\r\n");
    EXPECT_EQ(f.app.drives.read(f.target()), "the receiver's own file") << "answer No\n" << r.output;
    EXPECT_FALSE(f.app.drives.exists(temporary)) << "no leftover after a refusal";
    r = f.rebuild(std::string("x") + Wine::instance->yesKey() + "\r\n");
    EXPECT_NE(r.output.find("?"), std::string::npos) << "no question was asked\n" << r.output;
    EXPECT_TRUE(f.app.drives.read(f.target()) == f.source) << "answer Yes\n" << r.output;
}

} // namespace
} // namespace brenvik
