#include "split/SplitTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

// A source beyond 4 GiB, split at the largest part size. It writes gigabytes, so it carries the
// label "slow" and runs only when asked for (./test -L slow).

namespace brenvik {
namespace {

namespace fs = std::filesystem;

constexpr int64_t GiB = 1073741824;
constexpr int64_t SourceSize = 5 * GiB + 12345;
constexpr int64_t PartSize = 999999LL * 1024;

// Sixteen recognisable bytes at a few offsets of an otherwise sparse (all zero) source: the
// start, across every part boundary, across the 4 GiB mark and at the very end.
struct Marker {
    int64_t offset;
    std::string bytes;
};

std::vector<Marker> markers() {
    std::vector<Marker> out;
    auto add = [&out](int64_t offset) {
        out.push_back({offset, patternBytes(16, static_cast<unsigned>(out.size() + 3))});
    };
    add(0);
    for (int64_t b = PartSize; b < SourceSize; b += PartSize)
        add(b - 8);
    add(4 * GiB - 8);
    add(SourceSize - 16);
    return out;
}

// What the source holds in [from, from + size).
std::string expectedBytes(const std::vector<Marker>& ms, int64_t from, size_t size) {
    std::string out(size, '\0');
    const int64_t to = from + static_cast<int64_t>(size);
    for (const Marker& mk : ms)
        for (int64_t k = 0; k < 16; ++k)
            if (mk.offset + k >= from && mk.offset + k < to)
                out[static_cast<size_t>(mk.offset + k - from)] = mk.bytes[static_cast<size_t>(k)];
    return out;
}

TEST(LargeSourceSlow, FiveGibibytesSplitIntoPartsOfTheLargestSize) {
    TestApp app;
    app.drives.makeFolders("c:\\src");
    makeSparseFile(app.drives, "c:\\src\\grande.img", SourceSize);
    const std::vector<Marker> ms = markers();
    {
        std::fstream f(app.drives.host("c:\\src\\grande.img"), std::ios::in | std::ios::out | std::ios::binary);
        for (const Marker& mk : ms) {
            f.seekp(mk.offset);
            f.write(mk.bytes.data(), 16);
        }
        ASSERT_TRUE(f.good());
    }

    MainWindow& m = app.startIn("c:\\src");
    clickFile(m, "grande.img");
    EXPECT_EQ(m.dimensione, SourceSize);
    EXPECT_EQ(m.infolabel.caption(), "NOME FILE: grande.img   Dimensione: 5242892 KB (5120 MB)");
    splittest::setSizeKb(m, 999999);
    EXPECT_EQ(m.numfile.caption(), "6");
    m.split.click();
    ASSERT_EQ(m.infolabel.caption(), " 6/ 6 files creati con  SUCCESSO");
    EXPECT_EQ(m.numparti, 6);
    EXPECT_EQ(m.resto, SourceSize - 5 * PartSize);

    // Part by part, each removed once checked so the disk holds at most one set.
    const std::string folder = app.drives.host("c:\\myfiles\\[grande.img]");
    std::vector<char> chunk(4 * 1048576);
    for (int i = 0; i < 6; ++i) {
        const std::string part = folder + "/grande.img.00" + std::to_string(i);
        const int64_t start = i * PartSize;
        const int64_t size = i < 5 ? PartSize : SourceSize - start;
        ASSERT_EQ(static_cast<int64_t>(fs::file_size(part)), size) << part;
        std::ifstream in(part, std::ios::binary);
        for (int64_t done = 0; done < size;) {
            const auto n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(chunk.size()), size - done));
            in.read(chunk.data(), static_cast<std::streamsize>(n));
            ASSERT_EQ(static_cast<size_t>(in.gcount()), n);
            ASSERT_TRUE(std::string(chunk.data(), n) == expectedBytes(ms, start + done, n))
                << part << " differs from the source at part offset " << done;
            done += static_cast<int64_t>(n);
        }
        fs::remove(part);
    }
}

} // namespace
} // namespace brenvik
