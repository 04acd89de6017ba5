#include "platform/windows/Win32File.h"

#include "platform/RuntimeError.h"

#include <algorithm>

namespace brenvik::win {

namespace {
// Not in every edition of the SDK's headers.
constexpr unsigned long DiskQuotaExceeded = 1295;
} // namespace

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

[[noreturn]] void failOpen(DWORD code, const std::string& host) {
    if (code == ERROR_ACCESS_DENIED && isFolder(host))
        throw RuntimeError(err::PathFileAccess);
    if (code == ERROR_FILE_NOT_FOUND && !isFolder(parentOf(host)))
        throw RuntimeError(err::PathNotFound);
    fail(code, false);
}

FileStamp stampOf(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return {};
    const auto join = [](DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; };
    return {join(info.nFileSizeHigh, info.nFileSizeLow),
            join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime),
            join(info.nFileIndexHigh, info.nFileIndexLow) ^ (static_cast<uint64_t>(info.dwVolumeSerialNumber) << 32)};
}

Win32File::~Win32File() {
    if (h_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(h_);
}

size_t Win32File::read(char* buffer, size_t size) {
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

void Win32File::write(const char* buffer, size_t size) {
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

int64_t Win32File::length() {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(h_, &size))
        fail(::GetLastError(), false);
    return size.QuadPart;
}

void Win32File::sync() {
    if (!::FlushFileBuffers(h_))
        fail(::GetLastError(), false);
}

void Win32File::close() {
    if (h_ == INVALID_HANDLE_VALUE)
        return;
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(h))
        fail(::GetLastError(), false);
}

} // namespace brenvik::win
