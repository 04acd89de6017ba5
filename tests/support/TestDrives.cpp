#include "support/TestDrives.h"

#include "platform/RuntimeError.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace brenvik {

namespace fs = std::filesystem;

namespace {

// A new folder "brenvik-test-" and a random number in the host's temporary folder, with c and d.
std::string makeTempRoot() {
    // The attempt keeps names apart should the random device repeat itself.
    for (unsigned attempt = 0;; ++attempt) {
        const fs::path root = fs::temp_directory_path() / ("brenvik-test-" + std::to_string(std::random_device{}()) +
                                                           "-" + std::to_string(attempt));
        if (fs::create_directory(root) && fs::create_directory(root / "c") && fs::create_directory(root / "d")) {
            const std::u8string text = root.u8string();
            return std::string(text.begin(), text.end());
        }
    }
}

} // namespace

TestDrives::TestDrives() : root_(makeTempRoot()), table_(std::make_shared<DriveTable>()), fs_(table_) {
    mapDrive('c', root_ + "/c");
    mapDrive('d', root_ + "/d");
}

TestDrives::~TestDrives() {
    std::error_code ec;
    // Tests take rights away to provoke failures; give them back so that everything goes.
    const fs::path root = hostFsPath(root_);
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
}

std::string TestDrives::under(const std::string& relative) const {
    return (hostFsPath(root_) / hostFsPath(relative)).make_preferred().string();
}

void TestDrives::write(const std::string& winPath, const std::string& bytes) {
    fs::create_directories(hostFile(winPath).parent_path());
    std::ofstream out(hostFile(winPath), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + winPath);
}

std::string TestDrives::read(const std::string& winPath) {
    std::ifstream in(hostFile(winPath), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + winPath);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string patternBytes(size_t size, unsigned seed) {
    std::string out(size, '\0');
    for (size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>((i * 7 + seed) % 251);
    return out;
}

int failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

void makeSparseFile(TestDrives& drives, const std::string& winPath, int64_t size) {
    drives.write(winPath, "");
    std::ofstream out(drives.hostFile(winPath), std::ios::binary | std::ios::in | std::ios::out);
    // Writing the last byte past the end leaves the bytes before it a hole.
    if (size > 0)
        out.seekp(size - 1).put('\0');
    out.close();
    if (!out)
        throw std::runtime_error("cannot make a file of " + std::to_string(size) + " bytes: " + winPath);
}

std::vector<std::string> temporariesIn(TestDrives& drives, const std::string& folder) {
    std::vector<std::string> out;
    if (!drives.isFolder(folder))
        return out;
    for (const std::string& name : drives.fs().files(folder))
        if (name.rfind("~brenvik-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".$$$")
            out.push_back(name);
    return out;
}

} // namespace brenvik
