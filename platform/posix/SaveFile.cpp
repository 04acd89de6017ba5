// The save file and the folder lock on POSIX calls.
#include "platform/HostFiles.h"
#include "platform/RuntimeError.h"
#include "platform/posix/PosixFile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace brenvik {

namespace {

using posix::PosixFile;

int fdOf(const std::unique_ptr<File>& file) {
    return static_cast<PosixFile&>(*file).fd();
}

// An unnamed file is named through /proc/self/fd, since linking it by its descriptor alone
// (AT_EMPTY_PATH) needs a capability few users have. Without /proc it could never be named.
bool canNameUnnamedFiles() {
    static const bool can = posix::isFolder("/proc/self/fd");
    return can;
}

// Gives the open file `fd` the new name `to`; errno tells why not.
bool linkOpen(int fd, const std::string& to) {
    if (::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// The open file `fd` under a temporary name of its own in `folder`, whose host path it returns.
std::string linkAside(int fd, const std::string& folder) {
    for (int tries = 0;; ++tries) {
        std::string aside = folder + "/" + SaveFile::temporaryName();
        if (linkOpen(fd, aside))
            return aside;
        if (errno != EEXIST || tries == 10)
            posix::failOpen(errno, aside);
    }
}

// The temporary name still holds this file: the open one, or one of the size it was released at.
// Nothing but the user could have changed it, since no run touches another's temporaries.
bool holdsTheFile(const std::string& aside, const std::unique_ptr<File>& file, const FileStamp& released) {
    struct stat named {};
    if (::lstat(aside.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        return false;
    struct statfs fs {};
    if (!file)
        return ::statfs(aside.c_str(), &fs) == 0 && posix::stampOf(named, fs) == released;
    struct stat opened {};
    return ::fstat(fdOf(file), &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A file that is never flushed is not written back early either: it would cost what skipping
// the flushes means to measure.
std::unique_ptr<File> opened(int fd, bool flushes) {
    auto file = std::make_unique<PosixFile>(fd);
    if (!flushes)
        file->neverFlushed();
    return file;
}

[[noreturn]] void nameTaken(const std::string& target) {
    throw RuntimeError(posix::isFolder(target) ? err::PathFileAccess : err::FileAlreadyExists);
}

// A file its owner made read-only is not replaced, as writing into it never could be; a link of
// the name is replaced as a name whatever it points to.
void refuseReadOnly(const std::string& target) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        throw RuntimeError(err::PermissionDenied);
}

// Gives the file named `from` the name `to` unless `to` is taken, in one step where the file
// system can.
void renameKeeping(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    int code = errno;
    if (code == EINVAL || code == ENOSYS || code == EOPNOTSUPP) {
        // A file system without that flag: a second name fails where one exists, as the flag
        // would; only where it has no links either is the look and the rename two steps.
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return;
        }
        code = errno;
        if (code == EPERM || code == EOPNOTSUPP) {
            struct stat st {};
            if (::lstat(to.c_str(), &st) == 0)
                nameTaken(to);
            if (::rename(from.c_str(), to.c_str()) == 0)
                return;
            code = errno;
        }
    }
    if (code == EEXIST)
        nameTaken(to);
    posix::failOpen(code, to);
}

} // namespace

void SaveFile::create(const Options& options) {
    const std::string folder = posix::parentOf(target_);
    if (options.unnamed && canNameUnnamedFiles()) {
        const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, options.mode);
        if (fd >= 0) {
            file_ = opened(fd, options.flushes);
            goesWithHandle_ = true;
            return;
        }
        // Not every file system keeps unnamed files (FAT, exFAT, network shares), nor every kernel.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            posix::fail(errno, true);
    }
    for (int tries = 0;; ++tries) {
        std::string aside = folder + "/" + temporaryName();
        const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, options.mode);
        if (fd >= 0) {
            file_ = opened(fd, options.flushes);
            aside_ = std::move(aside);
            return;
        }
        if (errno != EEXIST || tries == 10)
            posix::failOpen(errno, aside);
    }
}

void SaveFile::flushHandle() {
    file_->sync();
}

void SaveFile::release() {
    flush();
    if (!file_)
        return;
    if (goesWithHandle_) {
        aside_ = linkAside(fdOf(file_), posix::parentOf(target_));
        goesWithHandle_ = false;
    }
    releasedAs_ = file_->stamp();
    file_.reset();
}

void SaveFile::nameAside() {
    throwIfFailed();
    if (!goesWithHandle_)
        return;
    aside_ = linkAside(fdOf(file_), posix::parentOf(target_));
    goesWithHandle_ = false;
}

void SaveFile::giveName(Existing existing) {
    if (existing == Existing::Replace)
        refuseReadOnly(target_);
    if (goesWithHandle_) {
        if (linkOpen(fdOf(file_), target_))
            return;
        if (errno != EEXIST)
            posix::failOpen(errno, target_);
        if (existing == Existing::Keep)
            nameTaken(target_);
        // The name is taken: the file goes under a temporary name first, then over it in one step.
        aside_ = linkAside(fdOf(file_), posix::parentOf(target_));
        goesWithHandle_ = false;
    }
    if (!holdsTheFile(aside_, file_, releasedAs_))
        throw RuntimeError(err::PathFileAccess);
    if (existing == Existing::Keep)
        renameKeeping(aside_, target_);
    else if (::rename(aside_.c_str(), target_.c_str()) != 0)
        posix::failOpen(errno, target_);
    aside_.clear();
}

void SaveFile::takeNameBack() {
    // Only this file's name goes: another run may have named its own file so meanwhile.
    if (holdsTheFile(target_, file_, releasedAs_) && ::unlink(target_.c_str()) != 0)
        posix::failOpen(errno, target_);
}

void SaveFile::discard() noexcept {
    if (!aside_.empty() && holdsTheFile(aside_, file_, releasedAs_))
        ::unlink(aside_.c_str());
    file_.reset();
}

namespace {

class PosixFolderLock : public FolderLock {
public:
    explicit PosixFolderLock(int fd) : fd_(fd) {}
    ~PosixFolderLock() override { ::close(fd_); }
    PosixFolderLock(const PosixFolderLock&) = delete;
    PosixFolderLock& operator=(const PosixFolderLock&) = delete;

private:
    int fd_;
};

} // namespace

std::unique_ptr<FolderLock> lockHostFolder(const std::string& host, const std::function<void()>& waiting) {
    const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        posix::fail(errno, true);
    auto lock = std::make_unique<PosixFolderLock>(fd);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return lock;
        if (errno == EINTR)
            continue;
        // A folder this file system cannot lock: no lock service (ENOLCK), no locks at all
        // (EOPNOTSUPP), or locks emulated on files open for writing, which a folder never is (EBADF,
        // NFS). Commits there are not kept apart; there is nothing to wait for.
        if (errno != EWOULDBLOCK)
            return lock;
        if (waiting)
            waiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

namespace {

// A file of the folder under a temporary name, known by its identity (of the link itself, for a
// link), so that neither a restore nor a removal ever touches a file another run put there.
class PosixAside : public AsideFile {
public:
    PosixAside(std::string path, std::string aside, const struct stat& st)
        : path_(std::move(path)), aside_(std::move(aside)), dev_(st.st_dev), ino_(st.st_ino) {}
    ~PosixAside() override {
        try {
            if (pending_)
                restore();
        } catch (const RuntimeError&) {
            // Left aside, where no run takes it for its own.
        }
    }
    PosixAside(const PosixAside&) = delete;
    PosixAside& operator=(const PosixAside&) = delete;

    void restore() override {
        pending_ = false;
        if (!holds())
            throw RuntimeError(err::PathFileAccess);
        renameKeeping(aside_, path_);
    }
    void remove() override {
        pending_ = false;
        if (holds() && ::unlink(aside_.c_str()) != 0)
            posix::failOpen(errno, aside_);
    }

private:
    bool holds() const {
        struct stat st {};
        return ::lstat(aside_.c_str(), &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_;
    }

    std::string path_;
    std::string aside_;
    dev_t dev_;
    ino_t ino_;
    bool pending_ = true;
};

} // namespace

std::unique_ptr<AsideFile> setAsideHost(const std::string& host) {
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0)
        posix::failOpen(errno, host);
    const std::string folder = posix::parentOf(host);
    for (int tries = 0;; ++tries) {
        std::string aside = folder + "/" + SaveFile::temporaryName();
        try {
            renameKeeping(host, aside);
            return std::make_unique<PosixAside>(host, std::move(aside), st);
        } catch (const RuntimeError& e) {
            if (e.number() != err::FileAlreadyExists || tries == 10)
                throw;
        }
    }
}

void syncHostFolder(const std::string& host) {
    const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        posix::fail(errno, true);
    // Some file systems cannot sync a folder (EINVAL); their names are as durable as they get.
    const int rc = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (rc != 0 && code != EINVAL)
        posix::fail(code, true);
}

} // namespace brenvik
