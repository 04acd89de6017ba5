// The split and the join on file systems that share blocks between files (XFS with reflink,
// btrfs). There the kernel's copy clones a range instead of copying it when the range begins on a
// block boundary in both files, so parts that are whole numbers of blocks take no space and cost
// almost no time; these tests keep the copies aligned wherever the part size allows.
#include "join/JoinScript.h"
#include "support/posix/LoopDisk.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace brenvik {
namespace {

// The file's extents as the file system reports them, its pending writes flushed first.
std::vector<fiemap_extent> extentsOf(const std::string& host) {
    constexpr unsigned Most = 256; // far more than a file of a few megabytes has
    std::vector<char> request(sizeof(fiemap) + Most * sizeof(fiemap_extent));
    auto* map = reinterpret_cast<fiemap*>(request.data());
    map->fm_length = FIEMAP_MAX_OFFSET;
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = Most;
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    const int result = fd < 0 ? -1 : ::ioctl(fd, FS_IOC_FIEMAP, map);
    const int code = errno;
    if (fd >= 0)
        ::close(fd);
    if (result != 0)
        throw std::runtime_error("cannot map the extents of " + host + ": " + std::strerror(code));
    if (map->fm_mapped_extents == Most)
        throw std::runtime_error(host + " has more extents than one request maps");
    return {map->fm_extents, map->fm_extents + map->fm_mapped_extents};
}

// Every byte of `file` lies in a shared extent, on the very disk blocks that hold the source's
// bytes from `offset` on.
void expectSharesWithSource(const std::string& file, const std::vector<fiemap_extent>& source, uint64_t offset,
                            uint64_t size) {
    uint64_t covered = 0;
    for (const fiemap_extent& e : extentsOf(file)) {
        EXPECT_NE(e.fe_flags & FIEMAP_EXTENT_SHARED, 0u) << file << " at " << e.fe_logical << " is a copy";
        const uint64_t at = offset + e.fe_logical;
        uint64_t physical = UINT64_MAX; // where the source's byte at `at` lies; nowhere in a hole
        for (const fiemap_extent& s : source)
            if (at >= s.fe_logical && at < s.fe_logical + s.fe_length)
                physical = s.fe_physical + (at - s.fe_logical);
        EXPECT_EQ(e.fe_physical, physical) << file << " at " << e.fe_logical << " lies elsewhere than the source's";
        covered += e.fe_length;
    }
    EXPECT_GE(covered, size) << file << " has holes";
}

class CloningDiskTest : public testing::TestWithParam<const char*> {};

TEST_P(CloningDiskTest, PartsOfFiveHundredKbShareTheSourcesBlocksAndJoinBackSharingThemToo) {
    TestApp app;
    LoopDisk disk(GetParam(), app.drives);
    if (!disk.skipReason().empty()) {
        // CI installs the tools and runs as root: there the test must not pass by being skipped.
        if (std::getenv("BRENVIK_CLONE_TEST_REQUIRED"))
            FAIL() << disk.skipReason();
        GTEST_SKIP() << disk.skipReason();
    }
    // Five whole parts of 512000 bytes (125 blocks of 4 KiB each) and a last part that ends
    // inside a block.
    constexpr uint64_t Part = 512000, Size = 5 * Part + 200001;
    const std::string original = patternBytes(Size, 5);
    app.drives.write("c:\\src\\film.avi", original);
    clickFile(app.startIn("c:\\src"), "film.avi");
    splitAndJoinBack(app, "film.avi", 500, 6);
    EXPECT_EQ(app.drives.read("c:\\myfiles\\film.avi"), original);

    const std::vector<fiemap_extent> source = extentsOf(app.drives.host("c:\\src\\film.avi"));
    for (uint64_t i = 0; i < 6; ++i)
        expectSharesWithSource(app.drives.host("c:\\myfiles\\[film.avi]\\film.avi.00" + std::to_string(i)), source,
                               i * Part, i < 5 ? Part : Size - 5 * Part);
    expectSharesWithSource(app.drives.host("c:\\myfiles\\film.avi"), source, 0, Size);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, CloningDiskTest, testing::Values("xfs", "btrfs"),
                         [](const testing::TestParamInfo<const char*>& type) { return std::string(type.param); });

} // namespace
} // namespace brenvik
