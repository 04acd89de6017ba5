// The split beside other runs of the program, short of open files, on a FAT disk, and where the
// file system refuses locks: each leaves one whole set or what stood before.
#include "split/SplitTestSupport.h"
#include "support/posix/KilledChild.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/file.h>
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

const std::string Dest = "c:\\myfiles\\[film.bin]";

// The run of film.bin's parts from 000 in Dest, as the part detection finds it.
std::pair<int, std::string> run(TestDrives& drives) {
    int count = 0;
    while (count < 1000 && drives.fs().fileExists(Dest + "\\film.bin." + std::to_string(1000 + count).substr(1)))
        ++count;
    return {count, joinParts(drives, Dest + "\\film.bin.", count)};
}

// A second program, started in `folder` on the same disks, that splits its film.bin in parts of
// 1 KB once `go` is readable (at once when it is -1); true when it succeeded.
bool splitInSecondProgram(TestApp& app, const std::string& folder, int go = -1) {
    app.store("path", "initialdir", folder);
    MainWindow second(app.platform);
    second.show();
    clickFile(second, "film.bin");
    second.Text.setText("1");
    char byte = 0;
    if (go >= 0 && ::read(go, &byte, 1) != 1)
        return false;
    second.split.click();
    return second.infolabel.caption().find("files creati con  SUCCESSO") != std::string::npos;
}

TEST(SplitBesideOthersTest, TwoSplitsIntoOneFolderAtOnceLeaveOneWholeSet) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        TestApp app;
        app.presetReturningUser();
        const std::string a = patternBytes(300 * 1024, 5);
        const std::string b = patternBytes(300 * 1024, 6);
        app.drives.makeFolders("c:\\a");
        app.drives.makeFolders("c:\\b");
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
        const auto [count, bytes] = run(app.drives);
        EXPECT_EQ(count, 300);
        EXPECT_TRUE(bytes == a || bytes == b) << "a mix of two sets";
        EXPECT_EQ(app.drives.fs().files(Dest).size(), 301u) << "the parts and the script, nothing else";
    }
}

// A second program that starts splitting into the folder while the first names its set there takes
// nothing of the first's files, and waits for the first to be done before it names its own set.
TEST(SplitBesideOthersTest, ASplitStartingWhileAnotherNamesItsSetTakesNothingOfItAndWaits) {
    TestApp app;
    app.drives.makeFolders("c:\\b");
    app.drives.write("c:\\b\\film.bin", patternBytes(30 * 1024, 6));
    app.drives.makeFolders("c:\\a");
    app.drives.write("c:\\a\\film.bin", patternBytes(20 * 1024, 5));
    MainWindow& m = app.startIn("c:\\a");
    clickFile(m, "film.bin");
    m.Text.setText("1");
    // Started before, it waits: a process forked while a commit holds its folder would hold that
    // lock too, which a program never does (it starts no other program before its commit ends).
    int go[2];
    int naming[2];
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
    const auto [count, bytes] = run(app.drives);
    EXPECT_EQ(count, 30) << "the second program's set, named after the first's";
    EXPECT_TRUE(bytes == app.drives.read("c:\\b\\film.bin"));
    EXPECT_EQ(app.drives.fs().files(Dest).size(), 31u);
}

// Where the file system refuses every lock, the split and the join go on without one.
TEST(SplitBesideOthersTest, AFileSystemWithoutLocksChangesNothing) {
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
