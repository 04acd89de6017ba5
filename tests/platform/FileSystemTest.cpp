#include "platform/RuntimeError.h"
#include "support/HostFaults.h"
#include "support/TestDrives.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace brenvik {
namespace {

TEST(FileSystemTest, DriveLettersMapOntoHostFoldersInAnyCase) {
    TestDrives d;
    d.makeFolders("c:\\dati\\sub");
    d.write("c:\\dati\\x.bin", "12345");
    HostFileSystem& fs = d.fs();
    EXPECT_EQ(fs.hostPath("C:/dati//sub\\..\\x.bin"), d.under("c/dati/x.bin"));
    EXPECT_EQ(fs.hostPath("c:\\..\\..\\x"), d.under("c/x")) << "never above the drive's root";
#ifdef _WIN32
    EXPECT_EQ(fs.fileLength("C:\\DATI\\X.BIN"), 5) << "names below the letter follow the host, without case";
#else
    EXPECT_EQ(failureOf([&] { fs.fileLength("C:\\DATI\\x.bin"); }), err::PathNotFound)
        << "names below the letter follow the host";
#endif
    EXPECT_EQ(fs.folders("c:\\dati"), std::vector<std::string>{"sub"});
    EXPECT_EQ(fs.files("c:\\dati"), std::vector<std::string>{"x.bin"});
    EXPECT_EQ(fs.drives().at(0).display(), "c: [" + d.under("c") + "]");
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
    d.mapDrive('e', d.under("nowhere"));
    EXPECT_EQ(failureOf([&] { fs.checkFolder("e:\\"); }), err::DiskNotReady) << "a drive whose folder is gone";
    PermissionBitsApply bits;
    if (rightsAreEnforced()) {
        namespace sfs = std::filesystem;
        d.write("c:\\sola-lettura.txt", "x");
        sfs::permissions(d.hostFile("c:\\sola-lettura.txt"),
                         sfs::perms::owner_write | sfs::perms::group_write | sfs::perms::others_write,
                         sfs::perm_options::remove);
        EXPECT_EQ(failureOf([&] { fs.create("c:\\sola-lettura.txt"); }), err::PermissionDenied);
#ifndef _WIN32
        // Windows keeps no write right on a folder: its read-only mark stops nobody.
        d.makeFolders("c:\\chiusa");
        sfs::permissions(d.hostFile("c:\\chiusa"), sfs::perms::owner_read | sfs::perms::owner_exec);
        EXPECT_EQ(failureOf([&] { fs.create("c:\\chiusa\\x"); }), err::PermissionDenied);
#endif
    }
}

TEST(FileSystemTest, CreateEmptiesAFileAndReplaceSwapsInTheNewBytesButNeverOverAReadOnlyFile) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.write("c:\\a.bin", "a long old content");
    auto f = fs.create("c:\\a.bin");
    f->write("new", 3);
    f->close();
    EXPECT_EQ(d.read("c:\\a.bin"), "new");
    EXPECT_TRUE(fs.sameFile("c:\\a.bin", "C:\\.\\x\\..\\a.bin"));
    EXPECT_FALSE(fs.sameFile("c:\\a.bin", "c:\\b.bin"));

    d.write("c:\\vecchio", "vecchio");
    d.write("c:\\nuovo", "nuovo");
    fs.replaceFile("c:\\nuovo", "c:\\vecchio");
    EXPECT_EQ(d.read("c:\\vecchio"), "nuovo");
    EXPECT_FALSE(d.exists("c:\\nuovo"));

    PermissionBitsApply bits;
    if (!rightsAreEnforced())
        GTEST_SKIP() << "this user writes past a file's read-only mark";
    d.write("c:\\nuovo", "nuovo");
    std::filesystem::permissions(d.hostFile("c:\\vecchio"), std::filesystem::perms::owner_read);
    EXPECT_EQ(failureOf([&] { fs.replaceFile("c:\\nuovo", "c:\\vecchio"); }), err::PermissionDenied);
    EXPECT_EQ(d.read("c:\\vecchio"), "nuovo");
    EXPECT_TRUE(d.exists("c:\\nuovo"));
}

// The kernel's file-to-file copy, within one file system and, through the buffer, from another.
TEST(FileSystemTest, CopyFromMovesBytesBetweenFilesAndStopsAtTheSourcesEnd) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    const std::string bytes = patternBytes(300000, 3);
    d.write("c:\\src.bin", bytes);
    // Memory on Linux, a second file system beside the temporary one; a host without it skips it.
    namespace sfs = std::filesystem;
    const sfs::path shm = sfs::path("/dev/shm") / ("brenvik-copy-" + std::to_string(std::random_device{}()));
    std::error_code ec;
    const bool haveShm = sfs::create_directory(shm, ec) && !ec;
    if (haveShm)
        d.mapDrive('s', shm.string());
    std::vector<char> buffer(200000);
    for (const std::string target : {"c:\\out.bin", "s:\\out.bin"}) {
        if (target[0] == 's' && !haveShm)
            continue;
        auto in = fs.openRead("c:\\src.bin");
        auto out = fs.create(target);
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 200000u) << target;
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 100000u) << "short only at the end: " << target;
        EXPECT_EQ(out->copyFrom(*in, buffer.data(), 200000), 0u) << target;
        out->close();
        EXPECT_EQ(d.read(target), bytes) << target;
    }
    if (haveShm)
        sfs::remove_all(shm, ec);
}

} // namespace
} // namespace brenvik
