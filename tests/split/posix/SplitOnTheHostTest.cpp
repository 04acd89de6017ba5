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

// Killed for real at every step of a second split over an earlier set: on a disk that keeps
// unnamed files, on one that does not (FAT, network shares), and with 64 open files at most, as
// `ulimit -n 64` leaves a program, so that the split releases the parts it holds. Whatever it left
// under temporary names no later run takes for its own.
TEST(SplitOnTheHostTest, AKillAtAnyInstantLeavesTheEarlierSetTheNewOneOrNoSetAtAll) {
    // Where the kill lands: before the earlier set is touched; once its part 000 is gone and before
    // the new one comes; after. The earlier set is longer than the new one: 100 parts and 70.
    enum Phase { Untouched, NoSet, NewSet };
    struct Point {
        const char* hook;
        std::string tail; // the hook halts at its first call on a path ending so
        Phase phase;
    };
    const Point points[] = {
        {"write", ".000", Untouched}, {"write", ".060", Untouched},  {"flush", ".050", Untouched},
        {"flush", ".bat", Untouched}, {"remove", ".000", Untouched}, {"remove", ".bat", NoSet},
        {"remove", ".099", NoSet},    {"remove", ".001", NoSet},     {"name", ".bat", NoSet},
        {"name", ".069", NoSet},      {"name", ".030", NoSet},       {"name", ".001", NoSet},
        {"name", ".000", NoSet},      {"flush", "]\\", NewSet},
    };
    enum Way { Unnamed, Named, FewFiles };
    for (Way way : {Unnamed, Named, FewFiles}) {
        for (const Point& p : points) {
            SCOPED_TRACE(std::to_string(way) + " " + p.hook + " " + p.tail);
            SecondSplit s(
                70 * 1024,
                [way](TestApp& app) {
                    if (way == Named)
                        app.files.nameNewFilesAside();
                },
                100 * 1024, 1);
            splittest::setSizeKb(s.m(), 1);
            killWhereItHalts([&s, &p, way](const std::function<void()>& halt) {
                const rlimit few{64, 64};
                if (way == FewFiles) {
                    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
                }
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
            std::map<std::string, std::string> left = s.folder();
            std::map<std::string, std::string> temporaries;
            for (const std::string& name : temporariesIn(s.app.drives, s.dest()))
                temporaries[name] = left.extract(name).mapped();
            if (way == Unnamed && keepsUnnamedFiles(s.app.drives.host(s.dest()))) {
                EXPECT_TRUE(temporaries.empty()) << "a killed run leaves nothing";
            } else if (p.tail == ".060") {
                EXPECT_FALSE(temporaries.empty()) << "the parts written so far wait under temporary names";
            }
            const auto [count, bytes] = runOf(s.app.drives, s.dest(), "film.avi");
            switch (p.phase) {
            case Untouched:
                EXPECT_EQ(left, s.earlier);
                break;
            case NoSet:
                EXPECT_EQ(count, 0);
                break;
            case NewSet:
                EXPECT_EQ(count, 70);
                EXPECT_TRUE(bytes == s.source);
                EXPECT_TRUE(s.app.drives.exists(s.script()));
                break;
            }
            s.expectSplitsAndJoinsBack(8);
            for (const auto& [name, content] : temporaries)
                EXPECT_TRUE(s.app.drives.exists(s.dest() + "\\" + name) &&
                            s.app.drives.read(s.dest() + "\\" + name) == content)
                    << name << ": no run takes another's temporary";
        }
    }
}

// The split against a real disk that fills up: a small tmpfs over c:\myfiles, where the
// destination lies, holding an earlier set of four pages (three parts and the script).
TEST(SplitOnTheHostTest, ADiskWithoutRoomForBothSetsKeepsTheEarlierOne) {
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
        s.m().optionsfrm().outputdir.setText("c:\\altrove\\");
        s.run();
        EXPECT_EQ(joinParts(s.app.drives, "c:\\altrove\\film.avi.", s.m().numparti), s.source);
        EXPECT_TRUE(s.app.drives.exists("c:\\altrove\\Assembla[film.avi].bat"));
    }
}

TEST(SplitOnTheHostTest, ASecondSplitReplacesTheEarlierSetLinksAsLinksAndNothingElse) {
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
