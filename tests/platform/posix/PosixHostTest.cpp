#include "platform/HostFileSystem.h"
#include "platform/WinPath.h"
#include "platform/posix/IniSettingsStore.h"
#include "support/HostFaults.h"
#include "support/TestDrives.h"
#include "support/posix/KilledChild.h"
#include "support/posix/LoopDisk.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <utility>

namespace brenvik {
namespace {

TEST(PosixHostTest, IniStoreRoundTripsTextExactlyAndSurvivesABadFile) {
    TestDrives d;
    std::string folder = d.root() + "/config/deeper";
    {
        IniSettingsStore store(folder);
        store.save("Brenvik", "Destinazione", "dir", "c:\\myfiles\\");
        store.save("Brenvik", "opzioni", "about", "0");
        store.save("Brenvik", "Destinazione", "dir", "d:\\parti = uno ");
    }
    IniSettingsStore again(folder);
    EXPECT_EQ(again.read("Brenvik", "destinazione", "DIR", "?"), "d:\\parti = uno ");
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "?"), "0");
    // Put in place whole: a reader that opened the file before the save reads the earlier file
    // to its end, never one cut short while it is written.
    std::ifstream before(again.filePath("Brenvik"), std::ios::binary);
    again.save("Brenvik", "path", "initialdir", "c:\\myfiles\\");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(before), {}),
              "[Destinazione]\ndir=d:\\parti = uno \n\n[opzioni]\nabout=0\n");
    EXPECT_EQ(IniSettingsStore(folder).read("Brenvik", "path", "initialdir", "?"), "c:\\myfiles\\");

    std::ofstream(again.filePath("Brenvik"), std::ios::trunc) << "[opzi";
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "1") << "a truncated file reads as empty";

    std::ofstream(again.filePath("Brenvik"), std::ios::trunc) << "[opzioni]\nabout=0\n";
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(again.filePath("Brenvik").c_str(), 0200), 0);
        EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "1") << "an unreadable file reads as empty";
        again.save("Brenvik", "opzioni", "cartsplit", "1");
        EXPECT_EQ(again.read("Brenvik", "opzioni", "cartsplit", "0"), "1") << "kept for the run";
        ASSERT_EQ(::chmod(again.filePath("Brenvik").c_str(), 0600), 0);
    }
    EXPECT_EQ(again.read("Brenvik", "opzioni", "about", "1"), "0") << "the file it could not read is not replaced";
}

// Two programs saving at the same moment: each change is read, made and written in turn, so that
// neither loses what the other saved, and no file of one is left half-written by the other.
TEST(PosixHostTest, TwoProgramsSavingAtOnceLoseNothing) {
    TestDrives d;
    const std::string folder = d.root() + "/config";
    for (int round = 0; round < 3; ++round) {
        const auto saving = [&folder, round](const std::string& key) {
            return startChild([&folder, key, round] {
                IniSettingsStore store(folder);
                for (int i = 0; i < 200; ++i)
                    store.save("Brenvik", "opzioni", key, std::to_string(round * 1000 + i));
                return true;
            });
        };
        const pid_t one = saving("cartsplit");
        const pid_t other = saving("cartunisci");
        EXPECT_TRUE(childSucceeded(one));
        EXPECT_TRUE(childSucceeded(other));
        IniSettingsStore store(folder);
        for (const char* key : {"cartsplit", "cartunisci"})
            EXPECT_EQ(store.read("Brenvik", "opzioni", key, "?"), std::to_string(round * 1000 + 199)) << key;
        EXPECT_EQ(std::ranges::distance(std::filesystem::directory_iterator(folder)), 1) << "the settings file alone";
        EXPECT_TRUE(std::filesystem::exists(folder + "/Brenvik.ini"));
    }
}

// A save that finds another program saving waits, saying so over and over so that the window can
// keep answering, and saves once the other is done; held longer than its bound, it keeps the value
// for this run and says it gave up.
TEST(PosixHostTest, ASaveWaitsForAnotherProgramSavingAndSaysSo) {
    using Wait = SettingsStore::Wait;
    TestDrives d;
    const std::string folder = d.root() + "/config";
    std::filesystem::create_directories(folder);
    for (const bool released : {true, false}) {
        SCOPED_TRACE(released);
        std::atomic<int> other = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::flock(other, LOCK_EX), 0);
        IniSettingsStore store(folder, std::chrono::milliseconds(300));
        std::vector<Wait> heard;
        store.onWaiting([&](Wait wait) {
            heard.push_back(wait);
            if (released && std::count(heard.begin(), heard.end(), Wait::Waiting) == 3)
                ::close(other.exchange(-1));
        });
        // A store that never says it waits must not wait for ever either: the other program lets
        // go after a while all the same, and the test fails.
        std::atomic<bool> saved = false;
        std::thread lettingGo([&other, &saved] {
            for (int i = 0; i < 50 && other >= 0 && !saved; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const int fd = other.exchange(-1);
            if (fd >= 0)
                ::close(fd);
        });
        const std::string value = released ? "atteso" : "tenuto";
        store.save("Brenvik", "opzioni", "cartsplit", value);
        saved = true;
        lettingGo.join();
        ASSERT_GE(heard.size(), 2u);
        EXPECT_EQ(heard.front(), Wait::Waiting);
        EXPECT_EQ(heard.back(), released ? Wait::Over : Wait::GaveUp);
        EXPECT_EQ(store.read("Brenvik", "opzioni", "cartsplit", "?"), value) << "for this run at least";
        EXPECT_EQ(IniSettingsStore(folder).read("Brenvik", "opzioni", "cartsplit", "?"), "atteso")
            << "on the disk once saved, and not over the other program's file";
    }
}

// The user's desktop folder is where the desktop's settings put it, else ~/Desktop, as a drive
// shows it; none where no drive does, or where it is not there.
TEST(PosixHostTest, TheDesktopFolderIsTheUsersOwnAsADriveShowsIt) {
    TestDrives d;
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", d.under("c").c_str(), 1);
    HostFileSystem& fs = d.fs();
    EXPECT_EQ(fs.desktopFolder(), std::nullopt) << "no Desktop folder";
    d.makeFolders("c:\\Desktop");
    EXPECT_EQ(fs.desktopFolder(), "c:\\Desktop");
    d.makeFolders("c:\\Scrivania");
    d.write("c:\\.config\\user-dirs.dirs", "# from xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Scrivania/\"\n");
    EXPECT_EQ(fs.desktopFolder(), "c:\\Scrivania");
    d.write("c:\\.config\\user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(fs.desktopFolder(), std::nullopt) << "set to the home folder: none";
    ::setenv("HOME", "/", 1);
    EXPECT_EQ(fs.desktopFolder(), std::nullopt) << "under no drive";
    ::setenv("HOME", savedHome.c_str(), 1);
}

// Linux reports a failed writeback once: the next flush of the same file then succeeds, without
// the bytes being on the disk. A file whose flush failed therefore never takes its name. The disk
// is an ext4 image on a loop device whose backing store, a small tmpfs, fills up.
TEST(PosixHostTest, AFileWhoseFlushFailedNeverTakesItsName) {
    TestDrives d;
    SmallDisk backing(d.host("d:\\piccolo"), 8 << 20);
    if (!backing.mounted())
        GTEST_SKIP() << backing.skipReason();
    LoopDisk disk("ext4", d, "c:\\", "d:\\piccolo\\disk.img", 64 << 20);
    if (!disk.skipReason().empty())
        GTEST_SKIP() << disk.skipReason();
    std::unique_ptr<NewFile> f = d.fs().createNew("c:\\pieno.bin");
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 16; ++i)
        f->file().write(block.data(), block.size());
    const int failure = failureOf([&] { f->flush(); });
    EXPECT_NE(failure, 0);
    EXPECT_EQ(failureOf([&] { f->flush(); }), failure) << "never tried again";
    EXPECT_EQ(failureOf([&] { f->commit(Existing::Keep); }), failure);
    f.reset();
    EXPECT_FALSE(d.exists("c:\\pieno.bin"));
}

// Linux allows in a name what no Windows path can hold: every byte it allows, alone and inside a
// longer name, as files and folders.
TEST(PosixHostTest, NamesNoWindowsPathCanHoldAreNotListedAndEveryOtherOneOpens) {
    TestDrives d;
    d.makeFolders("c:\\nomi\\cartelle");
    std::vector<std::string> openable;
    for (int b = 1; b < 256; ++b) {
        if (b == '/' || b == '.')
            continue;
        const std::string c(1, static_cast<char>(b));
        for (const std::string& name : {c, "a" + c + "b.txt"}) {
            std::ofstream(d.root() + "/c/nomi/" + name) << name;
            std::filesystem::create_directory(d.root() + "/c/nomi/cartelle/" + name);
            if (!winpath::hasInvalidNameChar(name))
                openable.push_back(name);
        }
    }
    HostFileSystem& fs = d.fs();
    std::sort(openable.begin(), openable.end(), nameLess);
    EXPECT_EQ(fs.files("c:\\nomi"), openable);
    EXPECT_EQ(fs.folders("c:\\nomi\\cartelle"), openable);
    for (const std::string& name : fs.files("c:\\nomi")) {
        EXPECT_EQ(fs.fileLength("c:\\nomi\\" + name), static_cast<int64_t>(name.size())) << name;
        fs.checkFolder("c:\\nomi\\cartelle\\" + name);
    }
}

} // namespace
} // namespace brenvik
