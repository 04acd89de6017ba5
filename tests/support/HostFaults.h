#pragma once

#include <cstddef>
#include <string>

namespace brenvik {

// A small tmpfs mounted over a host folder for the lifetime of the object, so that a disk really
// fills up or really refuses to be written. Mounting needs root (CI runs as root); elsewhere
// mounted() is false and skipReason() says why, for GTEST_SKIP.
class SmallDisk {
public:
    SmallDisk(const std::string& hostFolder, size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return reason_.empty(); }
    const std::string& skipReason() const { return reason_; }

private:
    std::string folder_;
    std::string reason_; // empty once mounted
};

// While alive, this process's own file accesses obey the permission bits even when it runs as
// root: the capabilities that let root read and write past them are lowered (and raised again at
// the end). Without root the bits apply anyway and this does nothing.
class PermissionBitsApply {
public:
    PermissionBitsApply();
    ~PermissionBitsApply();
    PermissionBitsApply(const PermissionBitsApply&) = delete;
    PermissionBitsApply& operator=(const PermissionBitsApply&) = delete;

private:
    bool lowered_ = false;
};

} // namespace brenvik
