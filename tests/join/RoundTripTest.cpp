#include "JoinScript.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace brenvik {
namespace {

// Parts in c:\parti, found by the detection and joined under the proposed name: the result must
// be the original, byte for byte.
void joinBack(TestApp& app, int parts, const std::string& name) {
    MainWindow& m = app.startIn("c:\\parti");
    enterJoinMode(app.desktop, m, parts);
    ASSERT_EQ(m.nomebase, name);
    confirmName(app.desktop);
    m.uniscifile.userClick();
    EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\" + name);
}

TEST(RoundTripTest, PartsWrittenByGnuSplitJoinBackToTheOriginal) {
    struct Case {
        size_t size;
        const char* partSize;
        int parts;
    };
    // Thirty-one parts cross from 009 to 010; the second size divides evenly into its parts.
    for (const Case& c : {Case{250001, "8192", 31}, Case{50000, "10000", 5}}) {
        TestApp app;
        const std::string original = patternBytes(c.size, 3);
        app.drives.makeFolders("c:\\orig");
        app.drives.makeFolders("c:\\parti");
        app.drives.write("c:\\orig\\film.avi", original);
        ASSERT_TRUE(runShell("cd '" + app.drives.host("c:\\parti") + "' && split -d -a 3 -b " + c.partSize + " '" +
                             app.drives.host("c:\\orig\\film.avi") + "' film.avi."));
        ASSERT_TRUE(app.drives.exists("c:\\parti\\film.avi.000"));
        joinBack(app, c.parts, "film.avi");
        EXPECT_EQ(app.drives.read("c:\\myfiles\\film.avi"), original) << c.partSize;
    }
}

TEST(RoundTripTest, PartsWrittenTheSplitsWayJoinBackToTheOriginal) {
    TestApp app;
    // Parts of three blocks and one byte, among files that are not parts.
    const std::string original = patternBytes(12 * (3 * 8192 + 1) + 77, 5);
    int parts = writeParts(app.drives, "c:\\parti", "archivio.zip", original, 3 * 8192 + 1);
    app.drives.write("c:\\parti\\archivio.zip", "l'originale, che resta dov'è");
    app.drives.write("c:\\parti\\Assembla[archivio.zip].bat", "copy /b ...");
    joinBack(app, parts, "archivio.zip");
    EXPECT_EQ(app.drives.read("c:\\myfiles\\archivio.zip"), original);
}

// ---- Multi-GiB, behind the label "slow".

constexpr int64_t GiB = int64_t{1} << 30;

int openOrFail(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        ADD_FAILURE() << "cannot open " << path;
    return fd;
}

// A sparse file of `size` bytes, zero except for the given patches.
void writeSparse(const std::string& path, int64_t size, const std::vector<std::pair<int64_t, std::string>>& patches) {
    int fd = openOrFail(path, O_WRONLY | O_CREAT | O_TRUNC);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    for (const auto& [at, bytes] : patches)
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

// Cuts `source` into parts of `partSize` bytes named name.000, name.001, ... in `folder`, as the
// split names them, keeping the holes: blocks of zeros are not written.
int splitSparse(const std::string& source, const std::string& folder, const std::string& name, int64_t partSize) {
    int in = openOrFail(source, O_RDONLY);
    const int64_t size = ::lseek(in, 0, SEEK_END);
    std::vector<char> block(1 << 20);
    int parts = 0;
    for (int64_t start = 0; start < size; start += partSize, ++parts) {
        const int64_t length = std::min(partSize, size - start);
        int out = openOrFail(folder + "/" + partName(name, parts), O_WRONLY | O_CREAT | O_TRUNC);
        EXPECT_EQ(::ftruncate(out, length), 0);
        for (int64_t at = 0; at < length; at += static_cast<int64_t>(block.size())) {
            auto n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), length - at));
            EXPECT_EQ(::pread(in, block.data(), n, start + at), static_cast<ssize_t>(n));
            const bool data = std::any_of(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n),
                                          [](char c) { return c != 0; });
            if (data) {
                EXPECT_EQ(::pwrite(out, block.data(), n, at), static_cast<ssize_t>(n));
            }
        }
        ::close(out);
    }
    ::close(in);
    return parts;
}

bool sameBytes(const std::string& a, const std::string& b) {
    int fa = openOrFail(a, O_RDONLY);
    int fb = openOrFail(b, O_RDONLY);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    bool same = true;
    while (same) {
        ssize_t na = ::read(fa, ba.data(), ba.size());
        ssize_t nb = ::read(fb, bb.data(), bb.size());
        same = na == nb && na >= 0 && std::equal(ba.begin(), ba.begin() + na, bb.begin());
        if (na <= 0)
            break;
    }
    ::close(fa);
    ::close(fb);
    return same;
}

TEST(RoundTripSlow, AFileOfFiveGiBJoinsBackFromPartsLargerThanFourGiBInAll) {
    TestApp app;
    app.drives.makeFolders("c:\\orig");
    app.drives.makeFolders("c:\\parti");
    const std::string original = app.drives.host("c:\\orig\\grande.img");
    const int64_t size = 5 * GiB + 12345;
    // Marks across 2 GiB, across 4 GiB, across the boundary of the two parts, and at both ends.
    writeSparse(original, size,
                {{0, patternBytes(4096, 1)},
                 {2 * GiB - 2000, patternBytes(4096, 2)},
                 {3 * GiB - 100, patternBytes(4096, 3)},
                 {4 * GiB - 3000, patternBytes(8192, 4)},
                 {size - 4096, patternBytes(4096, 5)}});
    const int parts = splitSparse(original, app.drives.host("c:\\parti"), "grande.img", 3 * GiB);
    ASSERT_EQ(parts, 2);
    joinBack(app, parts, "grande.img");
    const std::string joined = app.drives.host("c:\\myfiles\\grande.img");
    ASSERT_EQ(std::filesystem::file_size(joined), static_cast<uintmax_t>(size));
    EXPECT_TRUE(sameBytes(original, joined));
}

} // namespace
} // namespace brenvik
