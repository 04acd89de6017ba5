#include "platform/posix/PosixFile.h"

#include "platform/RuntimeError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace brenvik::posix {

int errorNumberForErrno(int code, bool forFolder) {
    switch (code) {
    case ENOENT:
        return forFolder ? err::PathNotFound : err::FileNotFound;
    case ENOTDIR:
        return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return err::PermissionDenied;
    case EEXIST:
    case EISDIR:
        return err::PathFileAccess;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return err::DiskFull;
    case EIO:
        return err::DeviceIo;
    case EMFILE:
    case ENFILE:
        return err::TooManyFiles;
    case ENXIO:
    case ENODEV:
        return err::DeviceUnavailable;
    case EINVAL:
    case EILSEQ:
        return err::BadFileNameOrNumber;
    default:
        return err::PathFileAccess;
    }
}

[[noreturn]] void fail(int code, bool forFolder) {
    throw RuntimeError(errorNumberForErrno(code, forFolder));
}

bool isFolder(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& host) {
    auto slash = host.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return host.substr(0, slash);
}

[[noreturn]] void failOpen(int code, const std::string& host) {
    if (code == ENOENT && !isFolder(parentOf(host)))
        throw RuntimeError(err::PathNotFound);
    fail(code, false);
}

FileStamp stampOf(const struct stat& st, const struct statfs& fs) {
    // FAT and exFAT make a file's number up each time they read it from the disk: there it tells
    // nothing.
    constexpr long Fat = 0x4d44;
    constexpr long ExFat = 0x2011BAB0;
    const bool numbered = fs.f_type != Fat && fs.f_type != ExFat;
    return {static_cast<uint64_t>(st.st_size),
            static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec),
            numbered ? static_cast<uint64_t>(st.st_ino) : 0};
}

PosixFile::~PosixFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

size_t PosixFile::read(char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd_, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, false);
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void PosixFile::write(const char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, false);
        }
        done += static_cast<size_t>(n);
    }
}

size_t PosixFile::copyFrom(File& source, char* buffer, size_t size) {
    // The kernel copies page cache to page cache without the bytes passing through this process,
    // and clones blocks where the file system shares them; where it cannot (another file system,
    // an old kernel) the buffer does it.
    auto* from = dynamic_cast<PosixFile*>(&source);
    size_t done = 0;
    while (from && kernelCopy_ && done < size) {
        ssize_t n = ::copy_file_range(from->fd_, nullptr, fd_, nullptr, size - done, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) {
                kernelCopy_ = false;
                break;
            }
            fail(errno, false);
        }
        if (n == 0)
            return done;
        done += static_cast<size_t>(n);
    }
    return done + File::copyFrom(source, buffer + done, size - done);
}

int64_t PosixFile::length() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        fail(errno, false);
    return st.st_size;
}

FileStamp PosixFile::stamp() {
    struct stat st {};
    struct statfs fs {};
    if (::fstat(fd_, &st) != 0 || ::fstatfs(fd_, &fs) != 0)
        fail(errno, false);
    return stampOf(st, fs);
}

void PosixFile::sync() {
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        fail(errno, false);
}

void PosixFile::startSync() {
    // Only a hint: what fails here fails again, and is reported, at the flush.
    if (writeback_)
        ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

void PosixFile::close() {
    if (fd_ < 0)
        return;
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail(errno, false);
}

} // namespace brenvik::posix
