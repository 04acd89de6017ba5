#include "platform/WinPath.h"
#include "split/SplitTestSupport.h"
#include "support/posix/KilledChild.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::Split;
namespace fs = std::filesystem;

// The names in a folder that are not the program's temporaries, and how many of those there are.
std::vector<std::string> namesBesideTemporaries(TestApp& app, const std::string& folder, size_t* temporaries) {
    std::vector<std::string> names;
    *temporaries = 0;
    for (const std::string& name : app.drives.fs().files(folder)) {
        if (winpath::isTemporaryName(name))
            ++*temporaries;
        else
            names.push_back(name);
    }
    return names;
}

TEST(SplitSurvivalTest, AKilledSplitLeavesOnlyCompletePartsUnderTheirNamesAndTheNextSplitClearsUp) {
    // Twenty parts of 4 KB, killed as the last begins.
    Split s("film.avi", patternBytes(20 * 4096), 4);
    killWhereItHalts([&s](const std::function<void()>& halt) {
        s.app.files.beforeWrite = [&](const std::string& path, size_t) {
            if (path == s.part(19))
                halt();
        };
        s.run();
    });
    size_t temporaries = 0;
    const std::vector<std::string> named = namesBesideTemporaries(s.app, s.dest(), &temporaries);
    ASSERT_FALSE(named.empty()) << "some parts were complete well before the kill";
    ASSERT_LT(named.size(), 19u);
    for (size_t i = 0; i < named.size(); ++i) {
        ASSERT_EQ(named[i], "film.avi." + std::to_string(1000 + i).substr(1)) << "a run from 000, no script";
        EXPECT_EQ(s.app.drives.read(s.part(static_cast<int>(i))), s.source.substr(i * 4096, 4096)) << i;
    }
    EXPECT_EQ(temporaries, 20 - named.size()) << "the rest, under temporary names";

    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 20/ 20 files creati con  SUCCESSO");
    EXPECT_EQ(namesBesideTemporaries(s.app, s.dest(), &temporaries).size(), 21u) << "the parts and the script";
    EXPECT_EQ(temporaries, 0u) << "the killed run's temporaries are removed";
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 20), s.source);
}

TEST(SplitSurvivalTest, ASecondSplitReplacesTheWholeEarlierSetOfItsNameAndNothingElse) {
    Split s("film.avi", patternBytes(3000000), 500);
    s.run();
    ASSERT_EQ(s.m().numparti, 6);
    // Beside the set: a part out of its run, another file's part, a folder named like a part and
    // a copy of the source.
    s.app.drives.write(s.part(10), "fuori serie");
    s.app.drives.write(s.dest() + "\\altro.bin.000", "altro");
    s.app.drives.makeFolders(s.dest() + "\\film.avi.006");
    s.app.drives.write(s.dest() + "\\film.avi", "copia");

    splittest::setSizeKb(s.m(), 1024);
    s.run();
    ASSERT_EQ(s.m().numparti, 3);
    EXPECT_EQ(s.app.drives.fs().files(s.dest()),
              (std::vector<std::string>{"altro.bin.000", "Assembla[film.avi].bat", "film.avi", "film.avi.000",
                                        "film.avi.001", "film.avi.002", "film.avi.010"}));
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
    EXPECT_TRUE(fs::is_directory(s.app.drives.hostFile(s.dest() + "\\film.avi.006")));
    EXPECT_EQ(s.app.drives.read(s.part(10)), "fuori serie");
    EXPECT_EQ(s.app.drives.read(s.dest() + "\\film.avi"), "copia");
}

TEST(SplitSurvivalTest, LinksNamedLikeAPartOrTheScriptAreReplacedNeverWrittenThrough) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.makeFolders("c:\\fuori");
    s.app.drives.makeFolders(s.dest());
    const std::vector<std::string> victims = {"c:\\fuori\\a", "c:\\fuori\\b", "c:\\fuori\\script"};
    for (const std::string& victim : victims)
        s.app.drives.write(victim, "intatto");
    // Part 000 starts an earlier set (removed as a link); part 002 stands past that run, which
    // ends at the missing 001 (replaced by the part); and the script.
    fs::create_symlink(s.app.drives.hostFile(victims[0]), s.app.drives.hostFile(s.part(0)));
    fs::create_symlink(s.app.drives.hostFile(victims[1]), s.app.drives.hostFile(s.part(2)));
    fs::create_symlink(s.app.drives.hostFile(victims[2]), s.app.drives.hostFile(s.script()));

    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    for (const std::string& victim : victims)
        EXPECT_EQ(s.app.drives.read(victim), "intatto") << victim;
    for (const std::string& written : {s.part(0), s.part(1), s.part(2), s.script()})
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(s.app.drives.hostFile(written)))) << written;
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
}

} // namespace
} // namespace brenvik
