#include "platform/RuntimeError.h"
#include "support/HostFaults.h"
#include "support/TestDrives.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace brenvik {
namespace {

namespace sfs = std::filesystem;

TEST(FileSystemTest, DriveLettersMapOntoHostFoldersInAnyCaseAndFailuresCarryTheRuntimeNumbers) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.makeFolders("c:\\dati\\sub");
    d.write("c:\\dati\\x.bin", "12345");
    EXPECT_EQ(fs.hostPath("C:/dati//sub\\..\\x.bin"), d.under("c/dati/x.bin"));
    EXPECT_EQ(fs.hostPath("c:\\..\\..\\x"), d.under("c/x")) << "never above the drive's root";
#ifdef _WIN32
    EXPECT_EQ(fs.fileLength("C:\\DATI\\X.BIN"), 5) << "names below the letter follow the host, without case";
#else
    EXPECT_EQ(failureOf([&] { fs.fileLength("C:\\DATI\\x.bin"); }), err::PathNotFound)
        << "names below the letter follow the host";
#endif

    d.makeFolders("c:\\esiste");
    d.write("c:\\file", "x");
    d.write("c:\\altro", "y");
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\esiste"); }), err::PathFileAccess);
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\manca\\sotto"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.makeFolder("c:\\file\\sotto"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.openRead("c:\\nessuno.txt"); }), err::FileNotFound);
    EXPECT_EQ(failureOf([&] { fs.openRead("c:\\manca\\nessuno.txt"); }), err::PathNotFound);
    // A new file fails at once where its name could not be taken, before a byte is written.
    EXPECT_EQ(failureOf([&] { fs.createNew("c:\\esiste"); }), err::PathFileAccess) << "a folder is no file";
    EXPECT_EQ(failureOf([&] { fs.createNew("c:\\" + std::string(256, 'x')); }), err::PathFileAccess);
    EXPECT_EQ(failureOf([&] { fs.createNew("c:\\a*b"); }), err::BadFileNameOrNumber);
    EXPECT_EQ(failureOf([&] { fs.checkNewName("c:\\manca\\x"); }), err::PathNotFound);
    EXPECT_EQ(failureOf([&] { fs.createNew("c:\\altro")->commit(Existing::Keep); }), err::FileAlreadyExists);
    EXPECT_EQ(d.read("c:\\altro"), "y") << "kept";
    EXPECT_EQ(failureOf([&] { fs.checkFolder("q:\\"); }), err::DeviceUnavailable);
    EXPECT_EQ(failureOf([&] { fs.checkFolder("c:\\manca"); }), err::PathNotFound);
    d.mapDrive('e', d.under("nowhere"));
    EXPECT_EQ(failureOf([&] { fs.checkFolder("e:\\"); }), err::DiskNotReady) << "a drive whose folder is gone";
    // A file its owner made read-only is never replaced, as writing into it never could be: where
    // the tests run with rights that no permission stops (root under Wine) there is nothing to see.
    PermissionBitsApply bits;
    std::unique_ptr<NewFile> replacing = fs.createNew("c:\\altro");
    sfs::permissions(d.hostFile("c:\\altro"), sfs::perms::owner_read);
    if (std::ofstream(d.hostFile("c:\\altro"), std::ios::app).is_open())
        return;
    EXPECT_EQ(failureOf([&] { replacing->commit(Existing::Replace); }), err::PermissionDenied);
    EXPECT_EQ(failureOf([&] { fs.checkNewName("c:\\altro"); }), err::PermissionDenied);
    EXPECT_EQ(d.read("c:\\altro"), "y");
#ifndef _WIN32
    // Windows keeps no write right on a folder: its read-only mark stops nobody.
    d.makeFolders("c:\\chiusa");
    sfs::permissions(d.hostFile("c:\\chiusa"), sfs::perms::owner_read | sfs::perms::owner_exec);
    EXPECT_EQ(failureOf([&] { fs.createNew("c:\\chiusa\\x"); }), err::PermissionDenied);
#endif
}

// What the split and the join write stays aside until it takes its name whole, in one step;
// whatever is not committed leaves nothing, and nothing the program did not make is removed.
TEST(FileSystemTest, NewFilesTakeTheirNameWholeOrLeaveNothing) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.write("c:\\out.bin", "old");
    const std::vector<std::string> before = fs.files("c:\\");
    const auto asBefore = [&] { EXPECT_EQ(fs.files("c:\\"), before); };

    std::unique_ptr<NewFile> replacing = fs.createNew("c:\\out.bin");
    replacing->file().write("new", 3);
#ifndef _WIN32
    // A link of the name is replaced as a name; what it points to is never written.
    d.write("c:\\altrove", "intatto");
    sfs::remove(d.hostFile("c:\\out.bin"));
    sfs::create_symlink(d.hostFile("c:\\altrove"), d.hostFile("c:\\out.bin"));
#endif
    replacing->commit(Existing::Replace);
    replacing.reset();
    EXPECT_EQ(d.read("c:\\out.bin"), "new");
    EXPECT_TRUE(sfs::is_regular_file(sfs::symlink_status(d.hostFile("c:\\out.bin"))));
#ifndef _WIN32
    EXPECT_EQ(d.read("c:\\altrove"), "intatto");
    sfs::remove(d.hostFile("c:\\altrove"));
#endif

    // Released, it waits under a temporary name.
    std::unique_ptr<NewFile> released = fs.createNew("c:\\nuovo.bin");
    released->file().write("new", 3);
    released->release();
    EXPECT_EQ(fs.files("c:\\").size(), before.size() + 1);
    released->commit(Existing::Keep);
    released.reset();
    EXPECT_EQ(d.read("c:\\nuovo.bin"), "new") << "committed, it stays";
    sfs::remove(d.hostFile("c:\\nuovo.bin"));
    asBefore();

    // Given up, before or after being released.
    fs.createNew("c:\\uno.bin")->file().write("x", 1);
    std::unique_ptr<NewFile> abandoned = fs.createNew("c:\\due.bin");
    abandoned->file().write("x", 1);
    abandoned->release();
    abandoned.reset();
    asBefore();
}

// A file of the folder set aside comes back whole or goes for good, and a commit taken back frees
// its name: each only while the name holds the program's own file.
TEST(FileSystemTest, WhatGoesAsideComesBackWholeAndOnlyTheProgramsOwnGoes) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    d.write("c:\\a.000", "prima");
    d.write("c:\\b.000", "altra");
    const std::vector<std::string> before = fs.files("c:\\");

    // Set aside; a new file takes the name, the commit is taken back, and the earlier one returns.
    std::unique_ptr<AsideFile> aside = fs.setAside("c:\\a.000");
    EXPECT_FALSE(d.exists("c:\\a.000"));
    EXPECT_EQ(temporariesIn(d, "c:\\").size(), 1u);
    std::unique_ptr<NewFile> fresh = fs.createNew("c:\\a.000");
    fresh->file().write("nuova", 5);
    fresh->nameAside();
    fresh->commit(Existing::Keep);
    EXPECT_EQ(failureOf([&] { aside->restore(); }), err::FileAlreadyExists) << "the name is taken";
    EXPECT_TRUE(d.exists("c:\\a.000"));
    fresh->withdraw();
    EXPECT_FALSE(d.exists("c:\\a.000"));
    aside->restore();
    fresh.reset();
    EXPECT_EQ(d.read("c:\\a.000"), "prima");

    // Kept, a name that is taken stays with its file.
    std::unique_ptr<NewFile> refused = fs.createNew("c:\\b.000");
    refused->nameAside();
    EXPECT_EQ(failureOf([&] { refused->commit(Existing::Keep); }), err::FileAlreadyExists);
    refused.reset();
    EXPECT_EQ(d.read("c:\\b.000"), "altra");

    // Given up, back by itself; removed, gone for good.
    fs.setAside("c:\\b.000");
    EXPECT_EQ(d.read("c:\\b.000"), "altra");
    fs.setAside("c:\\b.000")->remove();
    EXPECT_FALSE(d.exists("c:\\b.000"));
    d.write("c:\\b.000", "altra");
    EXPECT_EQ(fs.files("c:\\"), before);
#ifndef _WIN32
    // What the user put under a name the program used is not the program's to remove.
    std::unique_ptr<AsideFile> moved = fs.setAside("c:\\a.000");
    const std::string temporary = temporariesIn(d, "c:\\").at(0);
    sfs::rename(d.hostFile("c:\\" + temporary), d.hostFile("c:\\a.000"));
    d.write("c:\\" + temporary, "dell'utente");
    moved->remove();
    EXPECT_EQ(d.read("c:\\" + temporary), "dell'utente");
    sfs::remove(d.hostFile("c:\\" + temporary));
    std::unique_ptr<NewFile> named = fs.createNew("c:\\c.bin");
    named->commit(Existing::Keep);
    sfs::remove(d.hostFile("c:\\c.bin"));
    d.write("c:\\c.bin", "dell'utente");
    named->withdraw();
    EXPECT_EQ(d.read("c:\\c.bin"), "dell'utente");
    // A file released aside whose temporary name the user gave to a file of theirs: neither
    // committed under its name nor removed.
    for (const bool committing : {true, false}) {
        std::unique_ptr<NewFile> released = fs.createNew("c:\\d.bin");
        released->file().write("parte", 5);
        released->release();
        const std::string waiting = temporariesIn(d, "c:\\").at(0);
        sfs::rename(d.hostFile("c:\\" + waiting), d.hostFile("c:\\spostato"));
        d.write("c:\\" + waiting, "dell'utente");
        if (committing) {
            EXPECT_EQ(failureOf([&] { released->commit(Existing::Keep); }), err::PathFileAccess);
        }
        released.reset();
        EXPECT_FALSE(d.exists("c:\\d.bin"));
        EXPECT_EQ(d.read("c:\\" + waiting), "dell'utente");
        sfs::remove(d.hostFile("c:\\" + waiting));
        sfs::remove(d.hostFile("c:\\spostato"));
    }
#endif
}

// The kernel's file-to-file copy, within one file system and, through the buffer, from another.
TEST(FileSystemTest, CopyFromMovesBytesBetweenFilesAndStopsAtTheSourcesEnd) {
    TestDrives d;
    HostFileSystem& fs = d.fs();
    const std::string bytes = patternBytes(300000, 3);
    d.write("c:\\src.bin", bytes);
    // Memory on Linux, a second file system beside the temporary one; a host without it skips it.
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
        std::unique_ptr<NewFile> out = fs.createNew(target);
        EXPECT_EQ(out->file().copyFrom(*in, buffer.data(), 200000), 200000u) << target;
        EXPECT_EQ(out->file().copyFrom(*in, buffer.data(), 200000), 100000u) << "short only at the end: " << target;
        EXPECT_EQ(out->file().copyFrom(*in, buffer.data(), 200000), 0u) << target;
        out->commit(Existing::Keep);
        out.reset();
        EXPECT_EQ(d.read(target), bytes) << target;
    }
    if (haveShm)
        sfs::remove_all(shm, ec);
}

} // namespace
} // namespace brenvik
