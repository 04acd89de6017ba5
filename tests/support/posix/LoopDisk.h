#pragma once

#include "support/TestDrives.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mount.h>

namespace brenvik {

// A file system of `type` ("xfs", "btrfs", "ext4", ...) on a sparse image file `image` of `size`
// bytes, loop-mounted over the host folder of `over` for the lifetime of the object. It needs
// root, a loop device and the file system's tools; where any is missing skipReason() says why.
class LoopDisk {
public:
    // 320 MiB by default: the smallest XFS that mkfs.xfs makes is 300 MiB.
    LoopDisk(const std::string& type, TestDrives& drives, const std::string& over = "c:\\",
             const std::string& imagePath = "d:\\disk.img", int64_t size = 320 << 20)
        : folder_(drives.host(over)) {
        const std::string mkfs = type == "xfs" ? "mkfs.xfs -q -m reflink=1" : "mkfs." + type + " -q";
        drives.makeFolders(over);
        makeSparseFile(drives, imagePath, size);
        const std::string image = drives.host(imagePath);
        if (run(mkfs + " '" + image + "'") != 0)
            reason_ = "cannot make the " + type + " image with " + mkfs;
        else if (run("mount -t " + type + " -o loop '" + image + "' '" + folder_ + "'") != 0)
            reason_ = "cannot loop-mount the " + type + " image here (it needs root and a loop device)";
    }

    ~LoopDisk() {
        // The loop device goes with the mount. A lazy unmount as the fallback: a test that failed
        // half-way may still hold a file open.
        if (reason_.empty() && ::umount(folder_.c_str()) != 0)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    LoopDisk(const LoopDisk&) = delete;
    LoopDisk& operator=(const LoopDisk&) = delete;

    const std::string& skipReason() const { return reason_; }

private:
    static int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

    std::string folder_;
    std::string reason_;
};

} // namespace brenvik
