#include "join/JoinScript.h"

#include <fstream>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A source beyond 4 GiB split at the largest part size and joined back. It writes ten
// gigabytes, so it carries the label "slow" and runs only when asked for (./test -L slow).
TEST(RoundTripTestSlow, FiveGibibytesSplitIntoTheLargestPartsAndJoinBack) {
    constexpr int64_t GiB = int64_t{1} << 30, size = 5 * GiB + 12345, partSize = 999999LL * 1024;
    // Sixteen recognisable bytes in an otherwise sparse source: at both ends, across every part
    // boundary and across the 4 GiB mark.
    std::vector<int64_t> marks = {0, 4 * GiB - 8, size - 16};
    for (int64_t b = partSize; b < size; b += partSize)
        marks.push_back(b - 8);
    const std::string mark = patternBytes(16, 7);
    TestApp app;
    makeSparseFile(app.drives, "c:\\src\\grande.img", size);
    {
        std::fstream f(app.drives.hostFile("c:\\src\\grande.img"), std::ios::in | std::ios::out | std::ios::binary);
        for (int64_t at : marks)
            f.seekp(at).write(mark.data(), 16);
        ASSERT_TRUE(f.good());
    }
    clickFile(app.startIn("c:\\src"), "grande.img");
    splitAndJoinBack(app, "grande.img", 999999, 6);

    std::ifstream joined(app.drives.hostFile("c:\\myfiles\\grande.img"), std::ios::binary);
    std::vector<char> chunk(4 << 20);
    int64_t done = 0;
    while (joined.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || joined.gcount() > 0) {
        const int64_t n = joined.gcount();
        std::string expected(static_cast<size_t>(n), '\0');
        for (int64_t at : marks)
            for (int64_t k = 0; k < 16; ++k)
                if (at + k >= done && at + k < done + n)
                    expected[static_cast<size_t>(at + k - done)] = mark[static_cast<size_t>(k)];
        ASSERT_TRUE(std::string(chunk.data(), static_cast<size_t>(n)) == expected) << "differs within " << done;
        done += n;
    }
    EXPECT_EQ(done, size);
}

} // namespace
} // namespace brenvik
