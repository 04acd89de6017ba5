#include "JoinScript.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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

#ifndef _WIN32
// GNU split is a tool of the Linux host.
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
        ASSERT_EQ(0, std::system(("cd '" + app.drives.host("c:\\parti") + "' && split -d -a 3 -b " + c.partSize + " '" +
                                  app.drives.host("c:\\orig\\film.avi") + "' film.avi.")
                                     .c_str()));
        ASSERT_TRUE(app.drives.exists("c:\\parti\\film.avi.000"));
        joinBack(app, c.parts, "film.avi");
        EXPECT_EQ(app.drives.read("c:\\myfiles\\film.avi"), original) << c.partSize;
    }
}
#endif

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

// A sparse file of `size` bytes, zero except for the given patches.
void writeSparse(const std::filesystem::path& path, int64_t size,
                 const std::vector<std::pair<int64_t, std::string>>& patches) {
    makeSparseHostFile(path, size);
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    for (const auto& [at, bytes] : patches) {
        f.seekp(at);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ASSERT_TRUE(f.good()) << path.string();
}

// Cuts `source` into parts of `partSize` bytes named name.000, name.001, ... in `folder`, as the
// split names them, keeping the holes: blocks of zeros are not written.
int splitSparse(const std::filesystem::path& source, const std::filesystem::path& folder, const std::string& name,
                int64_t partSize) {
    std::ifstream in(source, std::ios::binary);
    const auto size = static_cast<int64_t>(std::filesystem::file_size(source));
    std::vector<char> block(1 << 20);
    int parts = 0;
    for (int64_t start = 0; start < size; start += partSize, ++parts) {
        const int64_t length = std::min(partSize, size - start);
        const std::filesystem::path part = folder / partName(name, parts);
        makeSparseHostFile(part, length);
        std::fstream out(part, std::ios::binary | std::ios::in | std::ios::out);
        for (int64_t at = 0; at < length; at += static_cast<int64_t>(block.size())) {
            auto n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), length - at));
            in.read(block.data(), static_cast<std::streamsize>(n));
            const bool data = std::any_of(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(n),
                                          [](char c) { return c != 0; });
            if (data) {
                out.seekp(at);
                out.write(block.data(), static_cast<std::streamsize>(n));
            }
        }
        EXPECT_TRUE(in.good() && out.good()) << part.string();
    }
    return parts;
}

bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() || !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin()))
            return false;
    }
    return !fa && !fb && fa.eof() && fb.eof();
}

TEST(RoundTripSlow, AFileOfFiveGiBJoinsBackFromPartsLargerThanFourGiBInAll) {
    TestApp app;
    app.drives.makeFolders("c:\\orig");
    app.drives.makeFolders("c:\\parti");
    const std::filesystem::path original = app.drives.hostFile("c:\\orig\\grande.img");
    const int64_t size = 5 * GiB + 12345;
    // Marks across 2 GiB, across 4 GiB, across the boundary of the two parts, and at both ends.
    writeSparse(original, size,
                {{0, patternBytes(4096, 1)},
                 {2 * GiB - 2000, patternBytes(4096, 2)},
                 {3 * GiB - 100, patternBytes(4096, 3)},
                 {4 * GiB - 3000, patternBytes(8192, 4)},
                 {size - 4096, patternBytes(4096, 5)}});
    const int parts = splitSparse(original, app.drives.hostFile("c:\\parti"), "grande.img", 3 * GiB);
    ASSERT_EQ(parts, 2);
    joinBack(app, parts, "grande.img");
    const std::filesystem::path joined = app.drives.hostFile("c:\\myfiles\\grande.img");
    ASSERT_EQ(std::filesystem::file_size(joined), static_cast<uintmax_t>(size));
    EXPECT_TRUE(sameBytes(original, joined));
}

} // namespace
} // namespace brenvik
