#include "platform/WinPath.h"
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"
#include "support/posix/KilledChild.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::Split;

// The split against a real disk that fails: a small tmpfs over c:\myfiles, where every
// destination of these tests lies.
struct SplitOnSmallDisk : Split {
    SplitOnSmallDisk(const std::string& bytes, int64_t kb, size_t diskBytes)
        : Split("film.avi", bytes, kb), disk(app.drives.host("c:\\myfiles"), diskBytes) {}

    // After a failed split the user picks a destination off the small disk and tries again.
    void splitsElsewhere() {
        m().optionsfrm.outputdir.setText("c:\\altrove\\");
        run();
        EXPECT_EQ(joinParts(app.drives, "c:\\altrove\\film.avi.", m().numparti), source);
        EXPECT_TRUE(app.drives.exists("c:\\altrove\\Assembla[film.avi].bat"));
    }

    SmallDisk disk;
};

TEST(SplitDiskFaultTest, ADiskThatFillsUpKeepsOnlyCompletePartsAndNoScript) {
    // 40 KiB parts on 64 KiB: the first part fits, the second fills the disk. Three parts of
    // 16 KiB fill 48 KiB exactly: the script finds no room.
    for (int complete : {1, 3}) {
        const int64_t kb = complete == 1 ? 40 : 16;
        SplitOnSmallDisk s(patternBytes(complete == 1 ? 200000 : 3 * 16384), kb, complete == 1 ? 64 * 1024 : 48 * 1024);
        if (!s.disk.mounted())
            GTEST_SKIP() << s.disk.skipReason();
        s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Disco pieno");
        std::vector<std::string> parts;
        for (int i = 0; i < complete; ++i)
            parts.push_back("film.avi.00" + std::to_string(i));
        EXPECT_EQ(s.app.drives.fs().files(s.dest()), parts) << kb << ": no incomplete part, no script";
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", complete),
                  s.source.substr(0, static_cast<size_t>(complete * kb * 1024)));
        s.splitsElsewhere();
    }
}

TEST(SplitDiskFaultTest, AReadOnlyDestinationKeepsAnEarlierSetAsItWas) {
    SplitOnSmallDisk s(patternBytes(10000), 4, 1024 * 1024);
    if (!s.disk.mounted())
        GTEST_SKIP() << s.disk.skipReason();
    s.run();
    const std::string earlierScript = s.app.drives.read(s.script());
    s.disk.makeReadOnly();

    splittest::setSizeKb(s.m(), 2);
    s.app.desktop.answer(mb::IdCancel);
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_EQ(s.app.drives.fs().files(s.dest()),
              (std::vector<std::string>{"Assembla[film.avi].bat", "film.avi.000", "film.avi.001", "film.avi.002"}));
    EXPECT_EQ(s.app.drives.read(s.script()), earlierScript);
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source) << "the earlier set still rebuilds";
    s.splitsElsewhere();
}

TEST(SplitDiskFaultTest, ASourceWithoutReadPermissionWritesNothing) {
    Split s("film.avi", patternBytes(10000), 4);
    const std::string host = s.app.drives.host("c:\\src\\film.avi");
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(host.c_str(), 0200), 0);
        s.app.desktop.answer(mb::IdCancel);
        s.run();
        ASSERT_EQ(::chmod(host.c_str(), 0600), 0);
    }
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_TRUE(s.app.drives.fs().files(s.dest()).empty());
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
}

namespace fs = std::filesystem;

TEST(SplitSurvivalTest, AKilledSplitLeavesNoPartUnderItsNameAndTheNextSplitClearsUp) {
    // Twenty parts of 4 KB, killed for real as the last begins: the others are written, not yet
    // on the disk, so none has its name.
    Split s("film.avi", patternBytes(20 * 4096), 4);
    killWhereItHalts([&s](const std::function<void()>& halt) {
        s.app.files.beforeWrite = [&](const std::string& path, size_t) {
            if (path == s.part(19))
                halt();
        };
        s.run();
    });
    std::vector<std::string> left = s.app.drives.fs().files(s.dest());
    EXPECT_EQ(left.size(), 20u);
    for (const std::string& name : left)
        EXPECT_TRUE(winpath::isTemporaryName(name)) << name;

    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 20/ 20 files creati con  SUCCESSO");
    left = s.app.drives.fs().files(s.dest());
    EXPECT_EQ(left.size(), 21u) << "the parts and the script; the killed run's temporaries are gone";
    EXPECT_EQ(left.front(), "Assembla[film.avi].bat");
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 20), s.source);
}

TEST(SplitSurvivalTest, ASecondSplitRemovesTheEarlierSetOfItsNameLinksAsLinksAndNothingElse) {
    Split s("film.avi", patternBytes(3000000), 500);
    s.run();
    ASSERT_EQ(s.m().numparti, 6);
    // In the earlier set, a link; beside it, a part out of its run, another file's part, a folder
    // named like a part and a copy of the source; and a link of the script's name.
    s.app.drives.makeFolders("c:\\fuori");
    for (const char* victim : {"c:\\fuori\\a", "c:\\fuori\\script"})
        s.app.drives.write(victim, "intatto");
    fs::remove(s.app.drives.hostFile(s.part(1)));
    fs::create_symlink(s.app.drives.hostFile("c:\\fuori\\a"), s.app.drives.hostFile(s.part(1)));
    fs::remove(s.app.drives.hostFile(s.script()));
    fs::create_symlink(s.app.drives.hostFile("c:\\fuori\\script"), s.app.drives.hostFile(s.script()));
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
    for (const std::string& written : {s.part(1), s.script()})
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(s.app.drives.hostFile(written)))) << written;
    for (const char* victim : {"c:\\fuori\\a", "c:\\fuori\\script"})
        EXPECT_EQ(s.app.drives.read(victim), "intatto") << victim;
    EXPECT_TRUE(s.app.drives.isFolder(s.dest() + "\\film.avi.006"));
    EXPECT_EQ(s.app.drives.read(s.part(10)), "fuori serie");
    EXPECT_EQ(s.app.drives.read(s.dest() + "\\film.avi"), "copia");
}

} // namespace
} // namespace brenvik
