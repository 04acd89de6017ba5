#include "support/TestDrives.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

namespace brenvik {

namespace {

std::string makeTempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/brenvik-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    std::filesystem::create_directory(pattern + "/c");
    std::filesystem::create_directory(pattern + "/d");
    return pattern;
}

DriveTable tableFor(const std::string& root) {
    DriveTable t;
    t.map('c', root + "/c");
    t.map('d', root + "/d");
    return t;
}

} // namespace

TestDrives::TestDrives() : root_(makeTempRoot()), table_(tableFor(root_)), fs_(table_) {}

TestDrives::~TestDrives() {
    std::error_code ec;
    // Tests take rights away to provoke failures; give them back so that everything goes.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        ::chmod(it->path().c_str(), 0700);
    ::chmod(root_.c_str(), 0700);
    std::filesystem::remove_all(root_, ec);
}

std::string TestDrives::host(const std::string& winPath) {
    return fs_.hostPath(winPath);
}

void TestDrives::makeFolders(const std::string& winPath) {
    std::filesystem::create_directories(host(winPath));
}

void TestDrives::write(const std::string& winPath, const std::string& bytes) {
    std::ofstream out(host(winPath), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + winPath);
}

std::string TestDrives::read(const std::string& winPath) {
    std::ifstream in(host(winPath), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + winPath);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TestDrives::exists(const std::string& winPath) {
    return std::filesystem::exists(host(winPath));
}

bool TestDrives::isFolder(const std::string& winPath) {
    return std::filesystem::is_directory(host(winPath));
}

void TestDrives::mapDrive(char letter, const std::string& hostFolder) {
    table_.map(letter, hostFolder);
    fs_ = HostFileSystem(table_);
}

std::string patternBytes(size_t size, unsigned seed) {
    std::string out(size, '\0');
    for (size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>((i * 7 + seed) % 251);
    return out;
}

} // namespace brenvik
