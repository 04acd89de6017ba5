// The split on real disks that fail, under real kills, beside other runs and short of open files.
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"
#include "support/posix/KilledChild.h"
#include "support/posix/LoopDisk.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::SecondSplit;
using splittest::Split;

namespace fs = std::filesystem;

// The run of `name`'s parts from 000, as the part detection finds it: how many, and their bytes.
std::pair<int, std::string> runOf(TestDrives& drives, const std::string& folder, const std::string& name) {
    int count = 0;
    while (count < 1000 && drives.fs().fileExists(folder + "\\" + name + "." + std::to_string(1000 + count).substr(1)))
        ++count;
    return {count, joinParts(drives, folder + "\\" + name + ".", count)};
}

// Whether the file system of `folder` keeps unnamed files, which a killed run leaves nothing of.
bool keepsUnnamedFiles(const std::string& host) {
    const int fd = ::open(host.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

TEST(SplitSurvivalTest, AKillAtAnyInstantLeavesTheEarlierSetTheNewOneOrNoSetAtAll) {
    // Where the kill lands: before the earlier set is touched; with its script gone but its parts
    // whole; once its part 000 is gone and before the new one comes; after.
    enum Phase { Untouched, PartsWhole, NoSet, NewSet };
    struct Point {
        const char* hook;
        std::string tail; // the hook halts at its first call on a path ending so
        Phase phase;
    };
    const Point points[] = {
        {"write", ".000", Untouched},   {"write", ".005", Untouched}, {"write", ".009", Untouched},
        {"flush", ".003", Untouched},   {"flush", ".bat", Untouched}, {"remove", ".bat", Untouched},
        {"remove", ".000", PartsWhole}, {"remove", ".002", NoSet},    {"remove", ".001", NoSet},
        {"name", ".bat", NoSet},        {"name", ".009", NoSet},      {"name", ".004", NoSet},
        {"name", ".001", NoSet},        {"name", ".000", NoSet},      {"flush", "]\\", NewSet},
    };
    for (const Point& p : points) {
        SCOPED_TRACE(std::string(p.hook) + " " + p.tail);
        SecondSplit s;
        killWhereItHalts([&s, &p](const std::function<void()>& halt) {
            const auto at = [&p, &halt](const std::string& path, auto...) {
                if (path.size() >= p.tail.size() &&
                    path.compare(path.size() - p.tail.size(), p.tail.size(), p.tail) == 0)
                    halt();
            };
            FaultyFiles& f = s.app.files;
            const std::string hook = p.hook;
            if (hook == "write")
                f.beforeWrite = at;
            else if (hook == "flush")
                f.beforeSync = at;
            else if (hook == "remove")
                f.beforeRemove = at;
            else
                f.beforeName = at;
            s.run();
        });
        if (keepsUnnamedFiles(s.app.drives.host(s.dest())))
            EXPECT_EQ(temporariesIn(s.app.drives, s.dest()), std::vector<std::string>{})
                << "a killed run leaves nothing";
        const auto [count, bytes] = runOf(s.app.drives, s.dest(), "film.avi");
        switch (p.phase) {
        case Untouched:
            EXPECT_EQ(s.folder(), s.earlier);
            break;
        case PartsWhole:
            EXPECT_EQ(count, 3);
            EXPECT_EQ(bytes, patternBytes(10000));
            break;
        case NoSet:
            EXPECT_EQ(count, 0);
            break;
        case NewSet:
            EXPECT_EQ(count, 10);
            EXPECT_EQ(bytes, s.source);
            EXPECT_TRUE(s.app.drives.exists(s.script()));
            break;
        }
        s.expectSplitsAndJoinsBack(8);
    }
}

// The split against a real disk that fills up: a small tmpfs over c:\myfiles, where the
// destination lies, holding an earlier set of four pages (three parts and the script).
TEST(SplitDiskFaultTest, ADiskWithoutRoomForBothSetsKeepsTheEarlierOne) {
    // Sixteen pages: the new set would fit alone, but not beside the earlier one; the second case
    // has room for its parts and not for its script.
    for (size_t bytes : {56000u, 49152u}) {
        SCOPED_TRACE(bytes);
        SecondSplit s;
        const std::map<std::string, std::string> earlier = s.earlier;
        SmallDisk disk(s.app.drives.host("c:\\myfiles"), 16 * 4096);
        if (!disk.mounted())
            GTEST_SKIP() << disk.skipReason();
        s.app.drives.makeFolders(s.dest());
        for (const auto& [name, content] : earlier)
            s.app.drives.write(s.dest() + "\\" + name, content);
        s.source = patternBytes(bytes, 4);
        s.app.drives.write("c:\\src\\film.avi", s.source);
        s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Disco pieno");
        EXPECT_EQ(s.folder(), earlier) << "the earlier set, byte for byte, and nothing beside it";

        // The user picks a destination off the small disk and tries again.
        s.m().optionsfrm.outputdir.setText("c:\\altrove\\");
        s.run();
        EXPECT_EQ(joinParts(s.app.drives, "c:\\altrove\\film.avi.", s.m().numparti), s.source);
        EXPECT_TRUE(s.app.drives.exists("c:\\altrove\\Assembla[film.avi].bat"));
    }
}

TEST(SplitDiskFaultTest, AReadOnlyDestinationOrSourceWritesNothing) {
    SecondSplit s;
    SmallDisk disk(s.app.drives.host("c:\\myfiles"), 1024 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    s.app.drives.makeFolders(s.dest());
    for (const auto& [name, content] : s.earlier)
        s.app.drives.write(s.dest() + "\\" + name, content);
    disk.makeReadOnly();
    s.app.desktop.answer(mb::IdCancel);
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_EQ(s.folder(), s.earlier);

    Split unreadable("film.avi", patternBytes(10000), 4);
    const std::string host = unreadable.app.drives.host("c:\\src\\film.avi");
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(host.c_str(), 0200), 0);
        unreadable.app.desktop.answer(mb::IdCancel);
        unreadable.run();
        ASSERT_EQ(::chmod(host.c_str(), 0600), 0);
    }
    EXPECT_EQ(unreadable.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_TRUE(unreadable.app.drives.fs().files(unreadable.dest()).empty());
}

TEST(SplitSurvivalTest, ASecondSplitReplacesTheEarlierSetLinksAsLinksAndNothingElse) {
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
