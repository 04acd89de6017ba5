// The file system on POSIX calls: paths are joined with "/" below the drive table's folders.
#include "platform/HostFileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "platform/posix/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace brenvik {

using posix::fail;
using posix::failOpen;
using posix::PosixFile;

void HostFileSystem::prepareHost() {
    // The soft limit is often 1024, which a thousand parts and a window's own files exceed. Past a
    // few thousand nothing is gained; a writer still short of them releases parts it holds.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, 8192);
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = wanted;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::string HostFileSystem::hostDesktop() {
    const char* home = std::getenv("HOME");
    if (!home || *home != '/')
        return {};
    // Where the desktop's own settings put it (xdg-user-dirs), in the user's language; else the
    // folder most desktops make.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::ifstream dirs((xdg && *xdg == '/' ? std::string(xdg) : std::string(home) + "/.config") + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(dirs, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        // A desktop set to the home folder itself is the settings' way of having none.
        if (value.empty() || value.front() != '/' || value == home)
            return {};
        return value;
    }
    return std::string(home) + "/Desktop";
}

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
    const std::string* root = drives_->root(*letter);
    if (!root)
        throw RuntimeError(err::DeviceUnavailable);
    if (!posix::isFolder(*root))
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
    for (const auto& [letter, root] : drives_->entries())
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

std::vector<ListedFile> HostFileSystem::stampedFiles(const std::string& path) {
    std::vector<ListedFile> out;
    for (std::string& name : list(path, false))
        out.push_back({std::move(name), {}});
    const std::string host = map(path, Expect::Folder);
    const int dfd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct statfs fs {};
    struct stat folder {};
    if (dfd < 0 || ::fstatfs(dfd, &fs) != 0 || ::fstat(dfd, &folder) != 0) {
        if (dfd >= 0)
            ::close(dfd);
        return out;
    }
    // Stamped as stampOf stamps a path: through a link, to what it points to, on its own disk.
    for (ListedFile& file : out) {
        struct stat st {};
        if (::fstatat(dfd, file.name.c_str(), &st, 0) != 0)
            continue;
        struct statfs own {};
        if (st.st_dev == folder.st_dev)
            file.stamp = posix::stampOf(st, fs);
        else if (::statfs((host + "/" + file.name).c_str(), &own) == 0)
            file.stamp = posix::stampOf(st, own);
    }
    ::close(dfd);
    return out;
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
    return st.st_size;
}

FileStamp HostFileSystem::stampOf(const std::string& path) {
    const std::string host = map(path, Expect::File);
    struct stat st {};
    struct statfs fs {};
    if (::stat(host.c_str(), &st) != 0 || ::statfs(host.c_str(), &fs) != 0)
        failOpen(errno, host);
    return posix::stampOf(st, fs);
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

void HostFileSystem::checkNewName(const std::string& path) {
    const std::string host = map(path, Expect::File);
    const std::string name = host.substr(host.find_last_of('/') + 1);
    if (name.size() > NAME_MAX)
        throw RuntimeError(err::PathFileAccess);
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) {
        if (errno != ENOENT)
            failOpen(errno, host);
        if (!posix::isFolder(posix::parentOf(host)))
            throw RuntimeError(err::PathNotFound);
        return;
    }
    if (S_ISDIR(st.st_mode))
        throw RuntimeError(err::PathFileAccess);
    // As replacing it would be: a link is replaced as a name, a read-only file not at all.
    if (S_ISREG(st.st_mode) && ::faccessat(AT_FDCWD, host.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM || errno == EROFS))
        throw RuntimeError(err::PermissionDenied);
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
