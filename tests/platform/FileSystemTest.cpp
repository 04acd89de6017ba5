#include "platform/RuntimeError.h"
#include "platform/WinPath.h"
#include "support/HostFaults.h"
#include "support/TestDrives.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvik {
namespace {

int failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(FileSystemTest, DriveLettersMapOntoHostFoldersInAnyCase) {
    TestDrives d;
    d.makeFolders("c:\\dati\\sub");
    d.write("c:\\dati\\x.bin", "12345");
    HostFileSystem& fs = d.fs();
    EXPECT_EQ(fs.hostPath("C:\\dati\\x.bin"), d.root() + "/c/dati/x.bin");
    EXPECT_EQ(fs.hostPath("c:/dati//sub\\..\\x.bin"), d.root() + "/c/dati/x.bin");
    EXPECT_EQ(fs.hostPath("c:\\..\\..\\x"), d.root() + "/c/x") << "never above the drive's root";
    EXPECT_EQ(failureOf([&] { fs.fileLength("C:\\DATI\\x.bin"); }), err::PathNotFound)
        << "names below the letter follow the host";
    EXPECT_EQ(fs.fileLength("c:\\dati\\x.bin"), 5);
    EXPECT_EQ(fs.folders("c:\\dati"), std::vector<std::string>{"sub"});
    EXPECT_EQ(fs.files("c:\\dati"), std::vector<std::string>{"x.bin"});
    auto drives = fs.drives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].display(), "c: [" + d.root() + "/c]");
}

TEST(FileSystemTest, FailuresCarryTheRuntimeNumbers) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.makeFolders("c:\\esiste");
    d.write("c:\\file", "x");
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\esiste"); }), err::PathFileAccess);
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\manca\\sotto"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\file\\sotto"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.openRead("c:\\nessuno.txt"); }), err::FileNotFound);
    EXPECT_EQ(failureOf([&] { fs.openRead("c:\\manca\\nessuno.txt"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.create("c:\\esiste"); }), err::PathFileAccess) << "a folder is no file";
    EXPECT_EQ(failureOf([&] { fs.create("c:\\a*b"); }), err::BadFileNameOrNumber);
    EXPECT_EQ(failureOf([&] { fs.checkFolder("q:\\"); }), err::DeviceUnavailable);
    EXPECT_EQ(failureOf([&] { fs.checkFolder("c:\\manca"); }), err::PathNotFound);
    d.mapDrive('e', d.root() + "/nowhere");
    EXPECT_EQ(failureOf([&] { fs.checkFolder("e:\\"); }), err::DiskNotReady) << "a drive whose folder is gone";
    {
        PermissionBitsApply bits;
        d.makeFolders("c:\\chiusa");
        ::chmod(d.host("c:\\chiusa").c_str(), 0500);
        EXPECT_EQ(failureOf([&] { fs.create("c:\\chiusa\\x"); }), err::PermissionDenied);
    }
}

TEST(FileSystemTest, ReplaceFileSwapsInTheNewBytesButNeverOverAReadOnlyFile) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.write("c:\\vecchio", "vecchio");
    d.write("c:\\nuovo", "nuovo");
    fs.replaceFile("c:\\nuovo", "c:\\vecchio");
    EXPECT_EQ(d.read("c:\\vecchio"), "nuovo");
    EXPECT_FALSE(d.exists("c:\\nuovo"));

    PermissionBitsApply bits;
    d.write("c:\\nuovo", "nuovo");
    ::chmod(d.host("c:\\vecchio").c_str(), 0444);
    EXPECT_EQ(failureOf([&] { fs.replaceFile("c:\\nuovo", "c:\\vecchio"); }), err::PermissionDenied);
    EXPECT_EQ(d.read("c:\\vecchio"), "nuovo");
    EXPECT_TRUE(d.exists("c:\\nuovo"));
}

TEST(FileSystemTest, NamesNoWindowsPathCanHoldAreNotListedAndEveryOtherOneOpens) {
    // Every byte the host allows in a name, alone and inside a longer name, as files and folders.
    TestDrives d;
    d.makeFolders("c:\\nomi\\cartelle");
    std::vector<std::string> openable;
    std::vector<std::string> folders;
    for (int b = 1; b < 256; ++b) {
        if (b == '/' || b == '.')
            continue;
        const std::string c(1, static_cast<char>(b));
        for (const std::string& name : {c, "a" + c + "b.txt"}) {
            std::ofstream(d.root() + "/c/nomi/" + name) << name;
            std::filesystem::create_directory(d.root() + "/c/nomi/cartelle/" + name);
            if (!winpath::hasInvalidNameChar(name)) {
                openable.push_back(name);
                folders.push_back(name);
            }
        }
    }
    HostFileSystem& fs = d.fs();
    std::sort(openable.begin(), openable.end(), nameLess);
    std::sort(folders.begin(), folders.end(), nameLess);
    EXPECT_EQ(fs.files("c:\\nomi"), openable);
    EXPECT_EQ(fs.folders("c:\\nomi\\cartelle"), folders);
    for (const std::string& name : fs.files("c:\\nomi")) {
        EXPECT_EQ(fs.fileLength("c:\\nomi\\" + name), static_cast<int64_t>(name.size())) << name;
        fs.checkFolder("c:\\nomi\\cartelle\\" + name);
    }
}

TEST(FileSystemTest, CreateEmptiesAnExistingFileAndSameFileSeesThroughSpelling) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.write("c:\\a.bin", "a long old content");
    auto f = fs.create("c:\\a.bin");
    f->write("new", 3);
    f->sync();
    f->close();
    EXPECT_EQ(d.read("c:\\a.bin"), "new");
    EXPECT_TRUE(fs.sameFile("c:\\a.bin", "C:\\.\\x\\..\\a.bin"));
    EXPECT_FALSE(fs.sameFile("c:\\a.bin", "c:\\b.bin"));
    auto r = fs.openRead("c:\\a.bin");
    char buf[8];
    EXPECT_EQ(r->read(buf, sizeof buf), 3u);
    EXPECT_EQ(r->read(buf, sizeof buf), 0u);
}

// The kernel's file-to-file copy, within one file system and, through the buffer, from another.
TEST(FileSystemTest, CopyFromMovesBytesBetweenFilesAndStopsAtTheSourcesEnd) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    const std::string bytes = patternBytes(300000, 3);
    d.write("c:\\src.bin", bytes);
    char shm[] = "/dev/shm/brenvik-copy.XXXXXX";
    const bool haveShm = ::mkdtemp(shm) != nullptr;
    if (haveShm)
        d.mapDrive('s', shm);
    std::vector<char> buffer(200000);
    for (const std::string target : {"c:\\out.bin", "s:\\out.bin"}) {
        if (target[0] == 's' && !haveShm)
            continue;
        auto in = fs.openRead("c:\\src.bin");
        auto out = fs.create(target);
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 200000u) << target;
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 100000u) << "short only at the end: " << target;
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 0u) << target;
        out->sync();
        out->close();
        fs.syncFolder(target.substr(0, 3));
        EXPECT_EQ(d.read(target), bytes) << target;
    }
    if (haveShm) {
        ::unlink((std::string(shm) + "/out.bin").c_str());
        ::rmdir(shm);
    }
}

} // namespace
} // namespace brenvik
