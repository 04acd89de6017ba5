// Windows has no tmpfs to mount and no capabilities to lower: the tests that need a small disk
// skip, and the permission bits apply to every user as they are.
#include "support/HostFaults.h"

namespace brenvik {

SmallDisk::SmallDisk(const std::string& hostFolder, size_t) : folder_(hostFolder) {
    reason_ = "a small disk is mounted only on Linux";
}

SmallDisk::~SmallDisk() = default;

PermissionBitsApply::PermissionBitsApply() = default;

PermissionBitsApply::~PermissionBitsApply() = default;

} // namespace brenvik
