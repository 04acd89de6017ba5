// The file system on the wide-character Win32 API: path texts are converted to UTF-16 at the
// call, so any name the system can hold works ("città.txt", "日本.bin").
#include "platform/HostFileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "platform/windows/Win32.h"
#include "platform/windows/Win32File.h"

#include <algorithm>
#include <shlobj.h>
#include <vector>

namespace brenvik {

std::string HostFileSystem::hostDesktop() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return win::narrow(path);
}

void HostFileSystem::prepareHost() {
    // Windows gives a process far more handles than a split holds.
}

using win::attributesOf;
using win::fail;
using win::failOpen;
using win::parentOf;
using win::wide;
using win::Win32File;

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
    const std::string* root = drives_->root(*letter);
    if (!root || (drives_->systemDrives() && !(::GetLogicalDrives() & (1u << (*letter - 'a')))))
        throw RuntimeError(err::DeviceUnavailable);
    if (!win::isFolder(*root))
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
    if (!drives_->systemDrives()) {
        for (const auto& [letter, root] : drives_->entries())
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
        if (code == ERROR_FILE_NOT_FOUND && win::isFolder(host))
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

std::vector<ListedFile> HostFileSystem::stampedFiles(const std::string& path) {
    const std::string host = map(path, Expect::Folder);
    HANDLE dir =
        ::CreateFileW(wide(host).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE)
        fail(::GetLastError(), true);
    BY_HANDLE_FILE_INFORMATION folder{};
    ::GetFileInformationByHandle(dir, &folder);
    // The whole folder in a few calls, each entry with its number: opening every file to stamp it
    // would cost a thousand opens for a thousand parts.
    std::vector<ListedFile> out;
    std::vector<char> buffer(64 * 1024); // aligned as new aligns, as the entries need
    FILE_INFO_BY_HANDLE_CLASS next = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(dir, next, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        next = FileIdBothDirectoryInfo;
        for (size_t at = 0;;) {
            const auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + at);
            const std::wstring_view name(e->FileName, e->FileNameLength / sizeof(wchar_t));
            if (!(e->FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                const auto number = static_cast<uint64_t>(e->FileId.QuadPart) ^
                                    (static_cast<uint64_t>(folder.dwVolumeSerialNumber) << 32);
                out.push_back({win::narrow(name),
                               {static_cast<uint64_t>(e->EndOfFile.QuadPart),
                                static_cast<uint64_t>(e->LastWriteTime.QuadPart), number}});
                // A link is stamped as what it points to, as stampOf does.
                if (e->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    try {
                        out.back().stamp = stampOf(path + "\\" + out.back().name);
                    } catch (const RuntimeError&) {
                        out.back().stamp = {};
                    }
                }
            }
            if (e->NextEntryOffset == 0)
                break;
            at += e->NextEntryOffset;
        }
    }
    const DWORD code = ::GetLastError();
    ::CloseHandle(dir);
    if (code != ERROR_NO_MORE_FILES)
        fail(code, true);
    std::sort(out.begin(), out.end(),
              [](const ListedFile& a, const ListedFile& b) { return nameLess(a.name, b.name); });
    return out;
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

FileStamp HostFileSystem::stampOf(const std::string& path) {
    const std::string host = map(path, Expect::File);
    HANDLE h = ::CreateFileW(wide(host).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        failOpen(::GetLastError(), host);
    const FileStamp stamp = win::stampOf(h);
    ::CloseHandle(h);
    return stamp;
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

void HostFileSystem::checkNewName(const std::string& path) {
    const std::string host = map(path, Expect::File);
    const DWORD a = attributesOf(host);
    if (a == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND)
            failOpen(code, host);
        if (!win::isFolder(parentOf(host)))
            throw RuntimeError(err::PathNotFound);
        return;
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        throw RuntimeError(err::PathFileAccess);
    // The system neither replaces nor deletes a read-only file.
    if (a & FILE_ATTRIBUTE_READONLY)
        throw RuntimeError(err::PermissionDenied);
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
