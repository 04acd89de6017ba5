// The split on real disks that fail, under real kills, beside other runs of the program, short of
// open files, on a FAT disk, and where the file system refuses locks: each leaves one whole set or
// what stood before.
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"
#include "support/posix/KilledChild.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>
#include <vector>

// flock, linkat and renameat2 as the system answers them: the kernel's, unless a test makes them
// refuse, as a network share without its lock service does flock, a security module that forbids
// naming unnamed files does linkat, or a full or failing disk does either. Defined here, they
// stand in for the C library's in this test program.
namespace {
int flockRefusal = 0;
int linkRefusal = 0;   // for every link onto a name ending in refusedFor
int renameRefusal = 0; // once, for a rename onto a name ending in refusedFor
std::string refusedFor;
} // namespace

extern "C" int flock(int fd, int operation) noexcept {
    if (flockRefusal) {
        errno = flockRefusal;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
}

// The folders made durable: each fsync of a folder, by its device and number.
std::vector<std::pair<dev_t, ino_t>> syncedFolders;

extern "C" int fsync(int fd) noexcept {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        syncedFolders.emplace_back(st.st_dev, st.st_ino);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) noexcept {
    if (linkRefusal && std::string_view(to).ends_with(refusedFor)) {
        errno = linkRefusal;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_linkat, fromFolder, from, toFolder, to, flags));
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept {
    if (renameRefusal && std::string_view(to).ends_with(refusedFor)) {
        errno = std::exchange(renameRefusal, 0);
        return -1;
    }
    return static_cast<int>(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, flags));
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
// under temporary names no later run takes for its own, and a script never stands beside a run
// that is not its own, whole.
TEST(SplitOnTheHostTest, AKillAtAnyInstantLeavesTheEarlierSetTheNewOneOrNoSetAtAll) {
    // Where the kill lands: before the earlier set is touched; once its script is aside; once its
    // part 000 is aside and before the new one is named; after. The earlier set is longer than the
    // new one: 100 parts and 70.
    enum Phase { Untouched, EarlierRun, NoSet, NewSet };
    struct Point {
        const char* hook;
        std::string tail; // the hook halts at its first call on a path ending so
        Phase phase;
    };
    const Point points[] = {
        {"write", ".000", Untouched}, {"write", ".060", Untouched},    {"flush", ".050", Untouched},
        {"flush", ".bat", Untouched}, {"aside", ".069", Untouched},    {"aside", ".000", Untouched},
        {"aside", ".bat", Untouched}, {"setaside", ".bat", Untouched}, {"setaside", ".000", EarlierRun},
        {"setaside", ".099", NoSet},  {"setaside", ".050", NoSet},     {"setaside", ".001", NoSet},
        {"name", ".069", NoSet},      {"name", ".001", NoSet},         {"name", ".000", NoSet},
        {"name", ".bat", NewSet},     {"remove", ".000", NewSet},      {"remove", ".050", NewSet},
        {"flush", "]\\", NewSet},
    };
    enum Way { Unnamed, Named, FewFiles };
    for (Way way : {Unnamed, Named, FewFiles}) {
        for (const Point& p : points) {
            SCOPED_TRACE(std::to_string(way) + " " + p.hook + " " + p.tail);
            SecondSplit s(70 * 1024, 100 * 1024, 1);
            const std::string earlierScript = s.earlier.at("Assembla[film.avi].bat");
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
                    (hook == "flush"      ? f.beforeSync
                     : hook == "aside"    ? f.beforeAside
                     : hook == "setaside" ? f.beforeSetAside
                     : hook == "remove"   ? f.beforeRemove
                                          : f.beforeName) = at;
                s.run();
            });
            std::map<std::string, std::string> left = s.folder();
            std::map<std::string, std::string> temporaries;
            for (const std::string& name : temporariesIn(s.app.drives, s.dest()))
                temporaries[name] = left.extract(name).mapped();
            const bool copying =
                std::string(p.hook) == "write" || (std::string(p.hook) == "flush" && p.phase == Untouched);
            if (way == Unnamed && copying && keepsUnnamedFiles(s.app.drives.host(s.dest()))) {
                EXPECT_TRUE(temporaries.empty()) << "a run killed while it copies leaves nothing";
            } else if (p.tail == ".060") {
                EXPECT_FALSE(temporaries.empty()) << "the parts written so far wait under temporary names";
            }
            const auto [count, bytes] = splittest::partRun(s.app.drives, s.dest(), "film.avi");
            const std::string earlierBytes = patternBytes(100 * 1024);
            switch (p.phase) {
            case Untouched:
                EXPECT_EQ(left, s.earlier);
                break;
            case EarlierRun:
                EXPECT_TRUE(count == 100 && bytes == earlierBytes) << "the earlier run, whole";
                break;
            case NoSet:
                EXPECT_EQ(count, 0);
                break;
            case NewSet:
                EXPECT_TRUE(count == 70 && bytes == s.source) << "the new run, whole";
                break;
            }
            // A script stands only beside its own run, whole: run, the command interpreter would
            // rebuild a file without its part 000, or from another set's parts.
            if (s.app.drives.exists(s.script())) {
                const bool earlierOne = s.app.drives.read(s.script()) == earlierScript;
                EXPECT_EQ(count, earlierOne ? 100 : 70);
                EXPECT_TRUE(bytes == (earlierOne ? earlierBytes : s.source));
            }
            s.expectSplitsAndJoinsBack(8);
            int parts = 0;
            for (const std::string& name : s.app.drives.fs().files(s.dest()))
                parts += name.starts_with("film.avi.") ? 1 : 0;
            EXPECT_EQ(parts, 9) << "nothing of an earlier run is left beside the new set";
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
    syncedFolders.clear();
    s.run();
    ASSERT_EQ(s.m().numparti, 6);
    // The names are on the disk before the split says so.
    struct stat dest {};
    ASSERT_EQ(::stat(s.app.drives.host(s.dest()).c_str(), &dest), 0);
    EXPECT_NE(std::find(syncedFolders.begin(), syncedFolders.end(), std::pair{dest.st_dev, dest.st_ino}),
              syncedFolders.end());
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

// A name the system refuses, at any step of naming the set, leaves the earlier set as it was,
// or an empty folder empty: a security module that lets a program make unnamed files but not name
// them, a folder with no room or quota left for one more name, a disk that fails as a part takes
// its name.
TEST(SplitOnTheHostTest, ANameTheSystemRefusesLeavesTheEarlierSetAsItWas) {
    struct Case {
        const char* label;
        int* refusal;
        int code;
        const char* onto; // the name refused
        int number;       // the error shown
        int answer;
        bool empty = false; // into a folder without an earlier set
    };
    const Case cases[] = {
        {"no naming of unnamed files", &linkRefusal, EACCES, "", err::PermissionDenied, mb::IdCancel},
        {"no quota for one more name", &linkRefusal, EDQUOT, "", err::DiskFull, mb::IdOK},
        {"a full folder as part 000 takes its name", &renameRefusal, ENOSPC, ".000", err::DiskFull, mb::IdOK},
        {"a failing disk as the script takes its name", &renameRefusal, EIO, ".bat", err::DeviceIo, mb::IdOK},
        {"an empty folder where part 000 may not be named", &linkRefusal, EACCES, ".000", err::PermissionDenied,
         mb::IdCancel, true},
        {"an empty folder where the script may not be named", &linkRefusal, EDQUOT, ".bat", err::DiskFull, mb::IdOK,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SecondSplit s;
        if (c.empty) {
            for (const auto& [name, bytes] : s.earlier)
                std::filesystem::remove(s.app.drives.hostFile(s.dest() + "\\" + name));
            s.earlier.clear();
        }
        *c.refusal = c.code;
        refusedFor = c.onto;
        s.app.desktop.answer(c.answer);
        s.run();
        *c.refusal = 0;
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + describeError(c.number));
        EXPECT_EQ(s.folder(), s.earlier) << "the earlier set, byte for byte, and nothing beside it";
        s.expectSplitsWhole();
    }
}

// Another Brenvik naming its files in the destination is waited for without the window stopping:
// the status line says so, About opens, the split's own controls take nothing, and once the other
// is done the set is named.
TEST(SplitOnTheHostTest, AWaitForAnotherBrenvikKeepsTheWindowAnswering) {
    SecondSplit s;
    // Another program's hold on the folder, as its commit takes it.
    int other = ::open(s.app.drives.host(s.dest()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    bool waited = false;
    bool aboutShown = false;
    s.app.desktop.onModal("aboutform", [&](Form& f) {
        aboutShown = true;
        f.hide();
    });
    const auto start = std::chrono::steady_clock::now();
    s.app.desktop.onBusy = [&] {
        // A split that never says it waits must not wait for ever either: the other program
        // lets go after a while all the same, and the test fails.
        if (other >= 0 && std::chrono::steady_clock::now() - start > std::chrono::seconds(5))
            ::close(std::exchange(other, -1));
        if (other < 0 || s.m().infolabel.caption() != "Un altro Brenvik sta scrivendo in questa cartella: attendo che "
                                                      "finisca...")
            return;
        waited = true;
        s.m().about.userClick();
        s.m().split.userClick();
        s.m().Option2.userClick();
        s.m().esci.userClick(); // its question would be a box the script does not expect
        ::close(std::exchange(other, -1));
    };
    s.run();
    EXPECT_TRUE(waited);
    EXPECT_TRUE(aboutShown) << "About opens while the split waits";
    EXPECT_FALSE(s.m().Option2.value()) << "nothing else takes the user's input meanwhile";
    s.app.desktop.onBusy = nullptr;
    EXPECT_EQ(s.m().infolabel.caption(), " 10/ 10 files creati con  SUCCESSO");
    const auto [count, bytes] = splittest::partRun(s.app.drives, s.dest(), "film.avi");
    EXPECT_TRUE(count == 10 && bytes == s.source);
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
