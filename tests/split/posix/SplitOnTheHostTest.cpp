// The split on real disks that fail, under real kills, beside other runs of the program, short of
// open files, on a FAT disk, and where the file system refuses locks: each leaves one whole set or
// what stood before.
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"
#include "support/posix/KilledChild.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

// flock as the file system answers it: the kernel's, unless a test makes it refuse as a network
// share without its lock service does. Defined here, it stands in for the C library's in this
// test program.
namespace {
int flockRefusal = 0;
}

extern "C" int flock(int fd, int operation) noexcept {
    if (flockRefusal) {
        errno = flockRefusal;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
}

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::SecondSplit;
using splittest::Split;

namespace fs = std::filesystem;

// Whether the file system of `folder` keeps unnamed files, which a killed run leaves nothing of.
bool keepsUnnamedFiles(const std::string& host) {
    const int fd = ::open(host.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

const std::string Dest = "c:\\myfiles\\[film.bin]";

// A second program, started in `folder` on the same disks, that splits its film.bin in parts of
// 1 KB once `go` is readable; true when it succeeded.
bool splitInSecondProgram(TestApp& app, const std::string& folder, int go) {
    app.store("path", "initialdir", folder);
    MainWindow second(app.platform);
    second.show();
    clickFile(second, "film.bin");
    second.Text.setText("1");
    char byte = 0;
    if (::read(go, &byte, 1) != 1)
        return false;
    second.split.click();
    return second.infolabel.caption().find("files creati con  SUCCESSO") != std::string::npos;
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
            SecondSplit s(70 * 1024, 100 * 1024, 1);
            if (way == Named)
                s.app.files.nameNewFilesAside();
            killWhereItHalts([&s, &p, way](const std::function<void()>& halt) {
                const rlimit few{64, 64};
                ASSERT_TRUE(way != FewFiles || ::setrlimit(RLIMIT_NOFILE, &few) == 0);
                const auto at = [&p, &halt](const std::string& path, auto...) {
                    if (path.ends_with(p.tail))
                        halt();
                };
                FaultyFiles& f = s.app.files;
                const std::string hook = p.hook;
                if (hook == "write")
                    f.beforeWrite = at;
                else
                    (hook == "flush" ? f.beforeSync : hook == "remove" ? f.beforeRemove : f.beforeName) = at;
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
            const auto [count, bytes] = splittest::partRun(s.app.drives, s.dest(), "film.avi");
            if (p.phase == Untouched)
                EXPECT_EQ(left, s.earlier);
            else
                EXPECT_EQ(count, p.phase == NoSet ? 0 : 70);
            EXPECT_TRUE(p.phase != NewSet || (bytes == s.source && s.app.drives.exists(s.script())))
                << "the whole new set";
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
        SmallDisk disk(s.app.drives.host("c:\\myfiles"), 16 * 4096);
        if (!disk.mounted())
            GTEST_SKIP() << disk.skipReason();
        for (const auto& [name, content] : s.earlier)
            s.app.drives.write(s.dest() + "\\" + name, content);
        s.source = patternBytes(bytes, 4);
        s.app.drives.write("c:\\src\\film.avi", s.source);
        s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Disco pieno");
        EXPECT_EQ(s.folder(), s.earlier) << "the earlier set, byte for byte, and nothing beside it";

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

    s.setKb(1024);
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

TEST(SplitOnTheHostTest, TwoSplitsIntoOneFolderAtOnceLeaveOneWholeSet) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        TestApp app;
        app.presetReturningUser();
        const std::string a = patternBytes(300 * 1024, 5), b = patternBytes(300 * 1024, 6);
        app.drives.write("c:\\a\\film.bin", a);
        app.drives.write("c:\\b\\film.bin", b);
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        const pid_t first = startChild([&] { return splitInSecondProgram(app, "c:\\a", go[0]); });
        const pid_t second = startChild([&] { return splitInSecondProgram(app, "c:\\b", go[0]); });
        ASSERT_EQ(::write(go[1], "ab", 2), 2);
        EXPECT_TRUE(childSucceeded(first));
        EXPECT_TRUE(childSucceeded(second));
        ::close(go[0]);
        ::close(go[1]);
        const auto [count, bytes] = splittest::partRun(app.drives, Dest, "film.bin");
        EXPECT_EQ(count, 300);
        EXPECT_TRUE(bytes == a || bytes == b) << "a mix of two sets";
        EXPECT_EQ(app.drives.fs().files(Dest).size(), 301u) << "the parts and the script, nothing else";
    }
}

// A second program that starts splitting into the folder while the first names its set there takes
// nothing of the first's files, and waits for the first to be done before it names its own set.
TEST(SplitOnTheHostTest, ASplitStartingWhileAnotherNamesItsSetTakesNothingOfItAndWaits) {
    TestApp app;
    app.drives.write("c:\\b\\film.bin", patternBytes(30 * 1024, 6));
    app.drives.write("c:\\a\\film.bin", patternBytes(20 * 1024, 5));
    MainWindow& m = app.startIn("c:\\a");
    clickFile(m, "film.bin");
    m.Text.setText("1");
    // Started before, it waits: a process forked while a commit holds its folder would hold that
    // lock too, which a program never does (it starts no other program before its commit ends).
    int go[2], naming[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(naming), 0);
    const pid_t second = startChild([&] {
        app.files.beforeLock = [&naming](const std::string&) { (void)!::write(naming[1], "x", 1); };
        return splitInSecondProgram(app, "c:\\b", go[0]);
    });
    app.files.beforeName = [&, once = false](const std::string&) mutable {
        if (std::exchange(once, true))
            return;
        ASSERT_EQ(::write(go[1], "x", 1), 1);
        // The second program has written its set and is about to name it; given the time, it
        // would name it in the middle of this commit.
        char byte = 0;
        ASSERT_EQ(::read(naming[0], &byte, 1), 1);
        ::usleep(300 * 1000);
    };
    m.split.click();
    EXPECT_EQ(m.infolabel.caption(), " 20/ 20 files creati con  SUCCESSO");
    EXPECT_TRUE(childSucceeded(second));
    const auto [count, bytes] = splittest::partRun(app.drives, Dest, "film.bin");
    EXPECT_EQ(count, 30) << "the second program's set, named after the first's";
    EXPECT_TRUE(bytes == app.drives.read("c:\\b\\film.bin"));
    EXPECT_EQ(app.drives.fs().files(Dest).size(), 31u);
}

// Where the file system refuses every lock, the split and the join go on without one.
TEST(SplitOnTheHostTest, AFileSystemWithoutLocksChangesNothing) {
    for (int refusal : {ENOLCK, EOPNOTSUPP}) {
        SecondSplit s;
        flockRefusal = refusal;
        s.expectSplitsWhole();
        s.expectSplitsAndJoinsBack(8);
        flockRefusal = 0;
        EXPECT_EQ(temporariesIn(s.app.drives, s.dest()), std::vector<std::string>{});
    }
}

} // namespace
} // namespace brenvik
