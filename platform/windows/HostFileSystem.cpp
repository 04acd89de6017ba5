// The file system on the wide-character Win32 API: path texts are converted to UTF-16 at the
// call, so any name the system can hold works ("città.txt", "日本.bin").
#include "platform/HostFileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "platform/windows/Win32.h"

#include <algorithm>

namespace brenvik {

namespace {
// Not in every edition of the SDK's headers.
constexpr unsigned long DiskQuotaExceeded = 1295;

// The runtime number for a Win32 error code (GetLastError) met while reaching a file or a folder.
int errorNumberForWin32(unsigned long code, bool forFolder) {
    // The same numbers as the errno table for the same conditions.
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return forFolder ? err::PathNotFound : err::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return err::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return err::PermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return err::PathFileAccess;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case DiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
        return err::DiskFull;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return err::DeviceIo;
    case ERROR_TOO_MANY_OPEN_FILES:
        return err::TooManyFiles;
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
        return err::DeviceUnavailable;
    case ERROR_NOT_READY:
        return err::DiskNotReady;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
    case ERROR_NO_UNICODE_TRANSLATION:
        return err::BadFileNameOrNumber;
    default:
        return err::PathFileAccess;
    }
}

[[noreturn]] void fail(DWORD code, bool forFolder) {
    throw RuntimeError(errorNumberForWin32(code, forFolder));
}

// The wide form of a host path. Paths as long as a folder may not be (248) take the prefix that
// lifts the limit; they are absolute and hold only "\" separators, as that prefix requires.
std::wstring wide(const std::string& host) {
    std::wstring w = win::widen(host);
    if (w.size() >= 248 && w.size() > 2 && w[1] == L':')
        w.insert(0, L"\\\\?\\");
    return w;
}

DWORD attributesOf(const std::string& host) {
    return ::GetFileAttributesW(wide(host).c_str());
}

bool isFolder(const std::string& host) {
    DWORD a = attributesOf(host);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string parentOf(const std::string& host) {
    auto slash = host.find_last_of('\\');
    return slash == std::string::npos ? host : host.substr(0, slash + (slash == 2 ? 1 : 0));
}

// As on the other hosts: a folder where a file is wanted is an access error, a file missing in a
// folder that is missing too a missing path.
[[noreturn]] void failOpen(DWORD code, const std::string& host) {
    if (code == ERROR_ACCESS_DENIED && isFolder(host))
        throw RuntimeError(err::PathFileAccess);
    if (code == ERROR_FILE_NOT_FOUND && !isFolder(parentOf(host)))
        throw RuntimeError(err::PathNotFound);
    fail(code, false);
}

class Win32File : public File {
public:
    explicit Win32File(HANDLE h) : h_(h) {}
    ~Win32File() override {
        if (h_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(h_);
    }

    size_t read(char* buffer, size_t size) override {
        size_t done = 0;
        while (done < size) {
            DWORD n = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
            if (!::ReadFile(h_, buffer + done, want, &n, nullptr))
                fail(::GetLastError(), false);
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    void write(const char* buffer, size_t size) override {
        size_t done = 0;
        while (done < size) {
            DWORD n = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
            if (!::WriteFile(h_, buffer + done, want, &n, nullptr))
                fail(::GetLastError(), false);
            if (n == 0)
                throw RuntimeError(err::DiskFull);
            done += n;
        }
    }

    int64_t length() override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(h_, &size))
            fail(::GetLastError(), false);
        return size.QuadPart;
    }

    void sync() override {
        if (!::FlushFileBuffers(h_))
            fail(::GetLastError(), false);
    }

    void close() override {
        if (h_ == INVALID_HANDLE_VALUE)
            return;
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(h))
            fail(::GetLastError(), false);
    }

private:
    HANDLE h_;
};

} // namespace

DriveTable DriveTable::forThisUser() {
    DriveTable table;
    table.systemDrives_ = true;
    for (char letter = 'a'; letter <= 'z'; ++letter)
        table.roots_[letter] = std::string(1, static_cast<char>(letter - 'a' + 'A')) + ":\\";
    return table;
}

void DriveTable::map(char letter, const std::string& hostFolder) {
    std::string root = hostFolder;
    std::replace(root.begin(), root.end(), '/', '\\');
    // "d:\" keeps its separator: "d:" alone would be that drive's current folder.
    while (root.size() > 1 && root.back() == '\\' && !(root.size() == 3 && root[1] == ':'))
        root.pop_back();
    roots_[utf8::asciiLower(letter)] = root;
}

std::string HostFileSystem::map(const std::string& path, Expect expect) {
    auto letter = winpath::driveLetter(path);
    if (!letter)
        throw RuntimeError(expect == Expect::Folder ? err::PathNotFound : err::BadFileNameOrNumber);
    const std::string* root = drives_.root(*letter);
    if (!root || (drives_.systemDrives() && !(::GetLogicalDrives() & (1u << (*letter - 'a')))))
        throw RuntimeError(err::DeviceUnavailable);
    if (!isFolder(*root))
        throw RuntimeError(err::DiskNotReady);
    std::string host = *root;
    for (const std::string& part : winpath::segments(path)) {
        if (winpath::hasInvalidNameChar(part))
            throw RuntimeError(err::BadFileNameOrNumber);
        // Longer than any name NTFS holds; the system's own answer for it varies by call.
        if (wide(part).size() > 255)
            throw RuntimeError(err::PathFileAccess);
        if (host.back() != '\\')
            host += '\\';
        host += part;
    }
    return host;
}

std::vector<DriveInfo> HostFileSystem::drives() {
    std::vector<DriveInfo> out;
    if (!drives_.systemDrives()) {
        for (const auto& [letter, root] : drives_.entries())
            out.push_back({letter, root});
        return out;
    }
    const DWORD present = ::GetLogicalDrives();
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (!(present & (1u << (letter - 'a'))))
            continue;
        const std::wstring root = {static_cast<wchar_t>(letter), L':', L'\\'};
        wchar_t label[MAX_PATH + 1] = {};
        // An empty drive (a reader without its card) has no label and is listed all the same.
        const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
        if (!::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
            label[0] = L'\0';
        ::SetErrorMode(oldMode);
        out.push_back({letter, win::narrow(label)});
    }
    return out;
}

void HostFileSystem::checkFolder(const std::string& path) {
    std::string host = map(path, Expect::Folder);
    DWORD a = attributesOf(host);
    if (a == INVALID_FILE_ATTRIBUTES)
        fail(::GetLastError(), true);
    if (!(a & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(err::PathNotFound);
}

std::vector<std::string> HostFileSystem::list(const std::string& path, bool wantFolders) {
    std::string host = map(path, Expect::Folder);
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileExW(wide(host + (host.back() == '\\' ? "*" : "\\*")).c_str(), FindExInfoBasic, &found,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    std::vector<std::string> names;
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = ::GetLastError();
        // Only an empty root has not even "." to find.
        if (code == ERROR_FILE_NOT_FOUND && isFolder(host))
            return names;
        fail(code, true);
    }
    do {
        std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == wantFolders)
            names.push_back(win::narrow(name));
    } while (::FindNextFileW(h, &found));
    DWORD code = ::GetLastError();
    ::FindClose(h);
    if (code != ERROR_NO_MORE_FILES)
        fail(code, true);
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

void HostFileSystem::makeFolder(const std::string& path) {
    std::string host = map(path, Expect::Folder);
    if (!::CreateDirectoryW(wide(host).c_str(), nullptr))
        fail(::GetLastError(), true);
}

bool HostFileSystem::fileExists(const std::string& path) {
    std::string host = map(path, Expect::File);
    DWORD a = attributesOf(host);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t HostFileSystem::fileLength(const std::string& path) {
    std::string host = map(path, Expect::File);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide(host).c_str(), GetFileExInfoStandard, &data))
        failOpen(::GetLastError(), host);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw RuntimeError(err::FileNotFound);
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::unique_ptr<File> HostFileSystem::openRead(const std::string& path) {
    std::string host = map(path, Expect::File);
    // Others may go on reading and writing it, as on the other hosts.
    HANDLE h = ::CreateFileW(wide(host).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        failOpen(::GetLastError(), host);
    auto file = std::make_unique<Win32File>(h);
    // A pipe or a device is not a file to split or join; reading one could wait for ever.
    if (::GetFileType(h) != FILE_TYPE_DISK)
        throw RuntimeError(err::PathFileAccess);
    return file;
}

void HostFileSystem::replaceFile(const std::string& from, const std::string& to) {
    std::string source = map(from, Expect::File);
    std::string target = map(to, Expect::File);
    // Refused for a read-only target, as writing into it would be.
    if (!::MoveFileExW(wide(source).c_str(), wide(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failOpen(::GetLastError(), target);
}

bool HostFileSystem::canNameAFile(const std::string& host, const std::string& name) {
    return !isFolder(host) && win::widen(name).size() <= 255;
}

std::unique_ptr<File> HostFileSystem::createBeside(const std::string& host, const std::string& temporary) {
    const std::string folder = parentOf(host);
    const std::string path = folder + (folder.back() == '\\' ? "" : "\\") + temporary;
    // Without FILE_SHARE_DELETE no other run can remove it while it is being written.
    HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
            return nullptr;
        failOpen(code, path);
    }
    return std::make_unique<Win32File>(h);
}

void HostFileSystem::removeAbandonedIn(std::string host) {
    if (host.back() != '\\')
        host += '\\';
    WIN32_FIND_DATAW found{};
    HANDLE h = ::FindFirstFileExW(wide(host + "~brenvik*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                  nullptr, 0);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = win::narrow(found.cFileName);
        // A temporary still being written is open without sharing its deletion: it stays.
        if (winpath::isTemporaryName(name) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            ::DeleteFileW(wide(host + name).c_str());
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
}

void HostFileSystem::rename(const std::string& from, const std::string& to, Existing existing) {
    const std::string source = map(from, Expect::File);
    const std::string target = map(to, Expect::File);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (existing == Existing::Replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (::MoveFileExW(wide(source).c_str(), wide(target).c_str(), flags))
        return;
    const DWORD code = ::GetLastError();
    if (existing == Existing::Keep && (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS))
        throw RuntimeError(isFolder(target) ? err::PathFileAccess : err::FileAlreadyExists);
    failOpen(code, target);
}

void HostFileSystem::syncFolder(const std::string&) {
    // NTFS keeps its names in its journal; a flushed file is found under its name after a crash.
}

void HostFileSystem::removeFile(const std::string& path) {
    std::string host = map(path, Expect::File);
    if (!::DeleteFileW(wide(host).c_str()))
        failOpen(::GetLastError(), host);
}

bool HostFileSystem::sameFile(const std::string& a, const std::string& b) {
    auto identity = [](const std::string& host, BY_HANDLE_FILE_INFORMATION* info) {
        HANDLE h = ::CreateFileW(wide(host).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        bool ok = ::GetFileInformationByHandle(h, info) != 0;
        ::CloseHandle(h);
        return ok;
    };
    try {
        BY_HANDLE_FILE_INFORMATION ia{};
        BY_HANDLE_FILE_INFORMATION ib{};
        if (!identity(map(a, Expect::File), &ia) || !identity(map(b, Expect::File), &ib))
            return false;
        return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
               ia.nFileIndexLow == ib.nFileIndexLow;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace brenvik
