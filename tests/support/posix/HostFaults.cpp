#include "support/HostFaults.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace brenvik {

SmallDisk::SmallDisk(const std::string& hostFolder, size_t bytes) : folder_(hostFolder) {
    if (::geteuid() != 0) {
        reason_ = "mounting a small tmpfs needs root (CI runs the fault tests as root)";
        return;
    }
    std::filesystem::create_directories(folder_);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0)
        reason_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk() {
    // A lazy unmount as the fallback: a test that failed half-way may still hold a file open.
    if (mounted() && ::umount(folder_.c_str()) != 0)
        ::umount2(folder_.c_str(), MNT_DETACH);
}

namespace {

constexpr unsigned PastTheBits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool setEffective(bool raised) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    if (raised)
        data[0].effective |= data[0].permitted & PastTheBits;
    else
        data[0].effective &= ~PastTheBits;
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

PermissionBitsApply::PermissionBitsApply() {
    if (::geteuid() != 0)
        return;
    if (!setEffective(false))
        throw std::runtime_error("cannot lower the file access capabilities");
    lowered_ = true;
}

PermissionBitsApply::~PermissionBitsApply() {
    if (lowered_)
        setEffective(true);
}

} // namespace brenvik
