#pragma once

#include "platform/HostFileSystem.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

// A UTF-8 host path text for std::filesystem, which takes plain narrow texts on Windows in the
// ANSI code page rather than in UTF-8.
inline std::filesystem::path hostFsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Real temporary folders behind drive letters: c: and d: are folders of a fresh temporary tree,
// so "c:\myfiles\[film.avi]" in a test is a real folder. Removed again at the end.
class TestDrives {
public:
    TestDrives();
    ~TestDrives();
    TestDrives(const TestDrives&) = delete;
    TestDrives& operator=(const TestDrives&) = delete;

    HostFileSystem& fs() { return fs_; }
    // The temporary tree's own host folder.
    const std::string& root() const { return root_; }
    // The host path of a Windows path text, as text and for std::filesystem.
    std::string host(const std::string& winPath) { return fs_.hostPath(winPath); }
    std::filesystem::path hostFile(const std::string& winPath) { return hostFsPath(host(winPath)); }
    // A host path below the temporary tree: "c/dati" with the host's separators.
    std::string under(const std::string& relative) const;

    // Host-side helpers that bypass the program, to prepare and inspect the disk; a file written
    // brings its missing folders with it.
    void makeFolders(const std::string& winPath) { std::filesystem::create_directories(hostFile(winPath)); }
    void write(const std::string& winPath, const std::string& bytes);
    std::string read(const std::string& winPath);
    bool exists(const std::string& winPath) { return std::filesystem::exists(hostFile(winPath)); }
    bool isFolder(const std::string& winPath) { return std::filesystem::is_directory(hostFile(winPath)); }

    // The drive table, which every file system over it shares.
    std::shared_ptr<const DriveTable> table() const { return table_; }

    // Maps a further letter to a host folder (which need not exist).
    void mapDrive(char letter, const std::string& hostFolder) { table_->map(letter, hostFolder); }

private:
    std::string root_;
    std::shared_ptr<DriveTable> table_;
    HostFileSystem fs_;
};

// Makes `winPath` (and its missing folders) a file of `size` zero bytes, sparse where the host
// allows, so that it costs no disk space. Growing a file with std::filesystem::resize_file is
// avoided: on Windows the MinGW runtime checks the volume's free space first and refuses with
// "File too large" whenever that check fails.
void makeSparseFile(TestDrives& drives, const std::string& winPath, int64_t size);

// The files in `folder` named as the program names what it writes aside ("~brenvik-" + a token +
// ".$$$"); a folder that does not exist holds none.
std::vector<std::string> temporariesIn(TestDrives& drives, const std::string& folder);

// Bytes of a recognisable pattern: byte i is (i * 7 + seed) mod 251, so shifted or swapped
// blocks never compare equal.
std::string patternBytes(size_t size, unsigned seed = 1);

// The runtime number `f` fails with, or 0 when it does not fail.
int failureOf(const std::function<void()>& f);

} // namespace brenvik
