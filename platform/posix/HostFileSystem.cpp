// The file system on POSIX calls: paths are joined with "/" below the drive table's folders.
#include "platform/HostFileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brenvik {

namespace {

// The runtime number for an errno value met while reaching a file or a folder.
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
        return err::PathFileAccess;
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

// A file missing in a folder that is missing too is a missing path, as the runtime reports it.
[[noreturn]] void failOpen(int code, const std::string& host) {
    if (code == ENOENT && !isFolder(parentOf(host)))
        throw RuntimeError(err::PathNotFound);
    fail(code, false);
}

class PosixFile : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0)
            ::close(fd_);
    }

    size_t read(char* buffer, size_t size) override {
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

    void write(const char* buffer, size_t size) override {
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

    size_t copyFrom(File& source, char* buffer, size_t size) override {
        // The kernel copies page cache to page cache without the bytes passing through this
        // process; where it cannot (another file system, an old kernel) the buffer does it.
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

    int64_t length() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            fail(errno, false);
        return static_cast<int64_t>(st.st_size);
    }

    void sync() override {
        if (::fdatasync(fd_) != 0 && errno != EINVAL)
            fail(errno, false);
    }

    void startSync() override {
        // Only a hint: what fails here fails again, and is reported, at the flush.
        ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }

    void close() override {
        if (fd_ < 0)
            return;
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR)
            fail(errno, false);
    }

private:
    int fd_;
    bool kernelCopy_ = true;
};

} // namespace

DriveTable DriveTable::forThisUser() {
    DriveTable table;
    const char* home = std::getenv("HOME");
    std::string homeDir = home && *home ? home : "";
    if (homeDir.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            homeDir = pw->pw_dir;
    table.map('c', homeDir.empty() ? "/" : homeDir);
    table.map('z', "/");
    return table;
}

void DriveTable::map(char letter, const std::string& hostFolder) {
    std::string root = hostFolder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    roots_[utf8::asciiLower(letter)] = root;
}

std::string HostFileSystem::map(const std::string& path, Expect expect) {
    auto letter = winpath::driveLetter(path);
    if (!letter)
        throw RuntimeError(expect == Expect::Folder ? err::PathNotFound : err::BadFileNameOrNumber);
    const std::string* root = drives_.root(*letter);
    if (!root)
        throw RuntimeError(err::DeviceUnavailable);
    if (!isFolder(*root))
        throw RuntimeError(err::DiskNotReady);
    std::string host = *root;
    for (const std::string& part : winpath::segments(path)) {
        if (winpath::hasInvalidNameChar(part))
            throw RuntimeError(err::BadFileNameOrNumber);
        if (host.back() != '/')
            host += '/';
        host += part;
    }
    return host;
}

std::vector<DriveInfo> HostFileSystem::drives() {
    std::vector<DriveInfo> out;
    for (const auto& [letter, root] : drives_.entries())
        out.push_back({letter, root});
    return out;
}

void HostFileSystem::checkFolder(const std::string& path) {
    std::string host = map(path, Expect::Folder);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0)
        fail(errno, true);
    if (!S_ISDIR(st.st_mode))
        throw RuntimeError(err::PathNotFound);
}

std::vector<std::string> HostFileSystem::list(const std::string& path, bool wantFolders) {
    std::string host = map(path, Expect::Folder);
    DIR* dir = ::opendir(host.c_str());
    if (!dir)
        fail(errno, true);
    std::vector<std::string> names;
    int dfd = ::dirfd(dir);
    errno = 0;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        // A name no Windows path can hold (a\b or 10:30.log on Linux) could be shown but
        // never opened, and no script could name it: the lists leave it out.
        if (name == "." || name == ".." || winpath::hasInvalidNameChar(name))
            continue;
        bool folder;
        if (e->d_type == DT_DIR) {
            folder = true;
        } else if (e->d_type == DT_REG) {
            folder = false;
        } else {
            struct stat st {};
            folder = ::fstatat(dfd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (folder == wantFolders)
            names.push_back(std::move(name));
        errno = 0;
    }
    int readErr = errno;
    ::closedir(dir);
    if (readErr != 0)
        fail(readErr, true);
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

void HostFileSystem::makeFolder(const std::string& path) {
    std::string host = map(path, Expect::Folder);
    if (::mkdir(host.c_str(), 0777) != 0) {
        int code = errno;
        if (code == EEXIST)
            throw RuntimeError(err::PathFileAccess);
        fail(code, true);
    }
}

bool HostFileSystem::fileExists(const std::string& path) {
    std::string host = map(path, Expect::File);
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

int64_t HostFileSystem::fileLength(const std::string& path) {
    std::string host = map(path, Expect::File);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0)
        failOpen(errno, host);
    if (S_ISDIR(st.st_mode))
        throw RuntimeError(err::FileNotFound);
    return static_cast<int64_t>(st.st_size);
}

std::unique_ptr<File> HostFileSystem::openRead(const std::string& path) {
    std::string host = map(path, Expect::File);
    // A pipe, a socket or a device is never opened: opening some waits for a peer that may never
    // come, others act on being opened. What was opened is checked again by its descriptor, and
    // O_NONBLOCK keeps a name swapped for a pipe meanwhile from waiting.
    struct stat named {};
    if (::stat(host.c_str(), &named) == 0 && !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode))
        throw RuntimeError(err::PathFileAccess);
    int fd = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        failOpen(errno, host);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw RuntimeError(err::PathFileAccess);
    }
    // Reads of a regular file never wait anyway; the flag goes so copies run as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<PosixFile>(fd);
}

void HostFileSystem::replaceFile(const std::string& from, const std::string& to) {
    std::string source = map(from, Expect::File);
    std::string target = map(to, Expect::File);
    // A rename would replace a file its owner made read-only, which writing into it never could.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        failOpen(errno, target);
    if (::rename(source.c_str(), target.c_str()) != 0)
        failOpen(errno, target);
}

bool HostFileSystem::canNameAFile(const std::string& host, const std::string& name) {
    return !isFolder(host) && name.size() <= NAME_MAX;
}

std::unique_ptr<File> HostFileSystem::createBeside(const std::string& host, const std::string& temporary) {
    const std::string path = parentOf(host) + "/" + temporary;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST)
            return nullptr;
        failOpen(errno, path);
    }
    auto file = std::make_unique<PosixFile>(fd);
    // The lock tells other runs the file is in use. One of them may have taken the new file for
    // abandoned and removed it before the lock was held: then another name is taken.
    struct stat opened {};
    struct stat named {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0 || ::lstat(path.c_str(), &named) != 0 ||
        opened.st_ino != named.st_ino || opened.st_dev != named.st_dev)
        return nullptr;
    return file;
}

void HostFileSystem::removeAbandonedIn(std::string host) {
    DIR* dir = ::opendir(host.c_str());
    if (!dir)
        return;
    const int dfd = ::dirfd(dir);
    while (dirent* e = ::readdir(dir)) {
        if (!winpath::isTemporaryName(e->d_name))
            continue;
        // A link of that name is not ours; a file whose writer still runs is locked.
        int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino &&
            named.st_dev == opened.st_dev)
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

void HostFileSystem::rename(const std::string& from, const std::string& to, Existing existing) {
    const std::string source = map(from, Expect::File);
    const std::string target = map(to, Expect::File);
    if (existing == Existing::Replace) {
        if (::rename(source.c_str(), target.c_str()) != 0)
            failOpen(errno, target);
        return;
    }
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return;
    int code = errno;
    if (code == EINVAL || code == ENOSYS || code == EOPNOTSUPP) {
        // A file system without that flag: a second name fails where one exists, as the flag
        // would; only where it has no links either is the look and the rename two steps.
        if (::link(source.c_str(), target.c_str()) == 0) {
            ::unlink(source.c_str());
            return;
        }
        code = errno;
        if (code == EPERM || code == EOPNOTSUPP) {
            struct stat st {};
            if (::lstat(target.c_str(), &st) == 0)
                throw RuntimeError(err::FileAlreadyExists);
            if (::rename(source.c_str(), target.c_str()) == 0)
                return;
            code = errno;
        }
    }
    if (code == EEXIST)
        throw RuntimeError(isFolder(target) ? err::PathFileAccess : err::FileAlreadyExists);
    failOpen(code, target);
}

void HostFileSystem::syncFolder(const std::string& path) {
    std::string host = map(path, Expect::Folder);
    int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(errno, true);
    // Some file systems cannot sync a folder (EINVAL); their names are as durable as they get.
    int rc = ::fsync(fd);
    int code = errno;
    ::close(fd);
    if (rc != 0 && code != EINVAL)
        fail(code, true);
}

void HostFileSystem::removeFile(const std::string& path) {
    std::string host = map(path, Expect::File);
    if (::unlink(host.c_str()) != 0)
        failOpen(errno, host);
}

bool HostFileSystem::sameFile(const std::string& a, const std::string& b) {
    try {
        struct stat sa {};
        struct stat sb {};
        if (::stat(map(a, Expect::File).c_str(), &sa) != 0 || ::stat(map(b, Expect::File).c_str(), &sb) != 0)
            return false;
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace brenvik
