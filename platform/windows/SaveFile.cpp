// The save file and the folder lock on the Win32 API.
#include "platform/HostFiles.h"
#include "platform/RuntimeError.h"
#include "platform/windows/Win32.h"
#include "platform/windows/Win32File.h"

#include <cstring>
#include <cwctype>
#include <utility>
#include <vector>

namespace brenvik {

namespace {

HANDLE handleOf(const std::unique_ptr<File>& file) {
    return static_cast<win::Win32File&>(*file).handle();
}

// Marks the open file for deletion when its last handle closes, or takes the mark back.
bool markForDeletion(HANDLE h, bool mark) {
    FILE_DISPOSITION_INFO info{};
    info.DeleteFile = mark ? TRUE : FALSE;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &info, sizeof info) != 0;
}

// Gives the open file `h` the name `target` through its handle, so that no other program can
// open it between its close and its rename (scanners do, and then the rename fails).
bool renameThrough(HANDLE h, const std::string& target, bool replace) {
    // A path as every other call takes it; the system turns it into its own form.
    const std::wstring name = win::wide(target);
    // The structure ends in the name, as long as it needs, and the zero that ends it.
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.data(), info->FileNameLength);
    return ::SetFileInformationByHandle(h, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
}

// The temporary `aside` opened again to be renamed or deleted, if it still is the file that was
// released there (nothing but the user could have changed it, since no run touches another's
// temporaries); INVALID_HANDLE_VALUE otherwise.
HANDLE reopen(const std::string& aside, const FileStamp& released) {
    HANDLE h = ::CreateFileW(win::wide(aside).c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return h;
    // Its size and number, not its time of writing: FAT and shares may set that only as the last
    // handle closes, after the stamp was taken at the release. The name is ours alone anyway.
    const FileStamp now = win::stampOf(h);
    if (::GetFileType(h) != FILE_TYPE_DISK || now.size != released.size || now.number != released.number) {
        ::CloseHandle(h);
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

} // namespace

void SaveFile::create(const Options&) {
    const std::string folder = win::parentOf(target_);
    for (int tries = 0;; ++tries) {
        std::string aside = folder + (folder.back() == '\\' ? "" : "\\") + temporaryName();
        HANDLE h = ::CreateFileW(win::wide(aside).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            file_ = std::make_unique<win::Win32File>(h);
            aside_ = std::move(aside);
            // A killed run's handles close with it, and the system then removes the file. Where
            // the mark cannot be set (a share that keeps no such marks) the file is deleted at the
            // discard, and a killed run leaves it.
            goesWithHandle_ = markForDeletion(h, true);
            return;
        }
        const DWORD code = ::GetLastError();
        if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || tries == 10)
            win::failOpen(code, aside);
    }
}

void SaveFile::flushHandle() {
    file_->sync();
}

void SaveFile::release() {
    flush();
    if (!file_)
        return;
    if (goesWithHandle_ && !markForDeletion(handleOf(file_), false))
        win::fail(::GetLastError(), false);
    goesWithHandle_ = false;
    releasedAs_ = file_->stamp();
    file_.reset();
}

void SaveFile::nameAside() {
    // The temporary name was taken when the file was made.
    throwIfFailed();
}

void SaveFile::giveName(Existing existing) {
    const bool replace = existing == Existing::Replace;
    const DWORD there = win::attributesOf(target_);
    // The system would refuse a read-only file too, but as a denial it may be worth waiting out.
    if (replace && there != INVALID_FILE_ATTRIBUTES && (there & FILE_ATTRIBUTE_READONLY) &&
        !(there & FILE_ATTRIBUTE_DIRECTORY))
        throw RuntimeError(err::PermissionDenied);
    if (!file_) {
        HANDLE h = reopen(aside_, releasedAs_);
        if (h == INVALID_HANDLE_VALUE)
            throw RuntimeError(err::PathFileAccess);
        file_ = std::make_unique<win::Win32File>(h);
    }
    HANDLE h = handleOf(file_);
    if (goesWithHandle_ && !markForDeletion(h, false))
        win::fail(::GetLastError(), false);
    goesWithHandle_ = false;
    for (int tries = 0; !renameThrough(h, target_, replace); ++tries) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
            throw RuntimeError(win::isFolder(target_) ? err::PathFileAccess : err::FileAlreadyExists);
        // A scanner or an indexer that opened the file of that name a moment ago lets go of it.
        if ((code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED) && tries < 20 && !win::isFolder(target_)) {
            ::Sleep(50);
            continue;
        }
        win::failOpen(code, target_);
    }
    aside_.clear();
}

void SaveFile::takeNameBack() {
    // Through the handle, so that no other file of that name can be taken for this one: under a
    // temporary name first, which frees the name at once, then deleted as its handle closes.
    const HANDLE h = handleOf(file_);
    for (int tries = 0;; ++tries) {
        std::string aside = win::parentOf(target_);
        aside += (aside.back() == '\\' ? "" : "\\") + temporaryName();
        if (renameThrough(h, aside, false)) {
            aside_ = std::move(aside);
            break;
        }
        const DWORD code = ::GetLastError();
        if ((code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) || tries == 10)
            win::fail(code, false);
    }
    goesWithHandle_ = markForDeletion(h, true);
}

void SaveFile::discard() noexcept {
    if (!file_ && !aside_.empty()) {
        HANDLE h = reopen(aside_, releasedAs_);
        if (h != INVALID_HANDLE_VALUE)
            file_ = std::make_unique<win::Win32File>(h);
        goesWithHandle_ = false;
    }
    if (!file_)
        return;
    // Deleted through the handle: no name is looked up, so no other file can be taken for it.
    // Where the disk keeps no such mark, by its name once closed, if that still is this file.
    const bool marked = goesWithHandle_ || markForDeletion(handleOf(file_), true);
    const FileStamp was = marked ? FileStamp{} : file_->stamp();
    file_.reset();
    if (!marked) {
        HANDLE h = reopen(aside_, was);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            ::DeleteFileW(win::wide(aside_).c_str());
        }
    }
}

namespace {

class MutexLock : public FolderLock {
public:
    MutexLock(HANDLE mutex, bool held) : mutex_(mutex), held_(held) {}
    ~MutexLock() override {
        if (held_)
            ::ReleaseMutex(mutex_);
        if (mutex_)
            ::CloseHandle(mutex_);
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE mutex_;
    bool held_;
};

// The folder as the system names it, whatever the spelling, without case.
std::wstring identityOf(const std::string& host) {
    std::wstring path = win::wide(host);
    HANDLE dir = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE)
        win::fail(::GetLastError(), true);
    std::wstring final(32768, L'\0');
    const DWORD n =
        ::GetFinalPathNameByHandleW(dir, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    ::CloseHandle(dir);
    if (n > 0 && n < final.size())
        path = final.substr(0, n);
    for (wchar_t& c : path)
        c = static_cast<wchar_t>(std::towupper(c));
    return path;
}

} // namespace

std::unique_ptr<FolderLock> lockHostFolder(const std::string& host, const std::function<void()>& waiting) {
    // Folders hold no locks on Windows: a mutex named after the folder stands in for one, for
    // every program of the user's session.
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : identityOf(host))
        hash = (hash ^ static_cast<uint64_t>(c)) * 1099511628211ull;
    std::wstring name = L"Local\\Brenvik-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(hash >> shift) & 0xf];
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return std::make_unique<MutexLock>(nullptr, false);
    for (;;) {
        // A run killed while holding it gives it up (WAIT_ABANDONED): its commit is over either way.
        switch (::WaitForSingleObject(mutex, 5)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            return std::make_unique<MutexLock>(mutex, true);
        case WAIT_TIMEOUT:
            break;
        default:
            return std::make_unique<MutexLock>(mutex, false);
        }
        if (waiting) {
            try {
                waiting();
            } catch (...) {
                ::CloseHandle(mutex);
                throw;
            }
        }
    }
}

namespace {

// A file of the folder under a temporary name, held by a handle that lets others read, write and
// delete it, so that it is put back or removed through the handle and never confused with
// another file.
class Win32Aside : public AsideFile {
public:
    Win32Aside(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}
    ~Win32Aside() override {
        if (pending_)
            renameThrough(h_, path_, false);
        close();
    }
    Win32Aside(const Win32Aside&) = delete;
    Win32Aside& operator=(const Win32Aside&) = delete;

    void restore() override {
        pending_ = false;
        if (h_ == INVALID_HANDLE_VALUE)
            throw RuntimeError(err::PathFileAccess);
        if (!renameThrough(h_, path_, false)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
                throw RuntimeError(err::FileAlreadyExists);
            win::fail(code, false);
        }
        // Back under its name, the file is nobody's to hold: others open it as they please.
        close();
    }
    void remove() override {
        pending_ = false;
        if (h_ == INVALID_HANDLE_VALUE)
            return;
        if (!markForDeletion(h_, true))
            win::fail(::GetLastError(), false);
        close();
    }

private:
    void close() {
        if (h_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE));
    }

    HANDLE h_;
    std::string path_;
    bool pending_ = true;
};

} // namespace

std::unique_ptr<AsideFile> setAsideHost(const std::string& host) {
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; h == INVALID_HANDLE_VALUE; ++tries) {
        h = ::CreateFileW(win::wide(host).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            break;
        // A scanner lets go within moments; a program reading the file without letting it be
        // deleted (another join) holds it, and the set stays as it is.
        const DWORD code = ::GetLastError();
        if (code != ERROR_SHARING_VIOLATION || tries == 20)
            win::failOpen(code, host);
        ::Sleep(50);
    }
    const std::string folder = win::parentOf(host);
    for (int tries = 0;; ++tries) {
        std::string aside = folder + (folder.back() == '\\' ? "" : "\\") + SaveFile::temporaryName();
        if (renameThrough(h, aside, false))
            return std::make_unique<Win32Aside>(h, host);
        const DWORD code = ::GetLastError();
        if ((code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) || tries == 10) {
            ::CloseHandle(h);
            win::failOpen(code, host);
        }
    }
}

void syncHostFolder(const std::string& host) {
    // Renames through a handle have no write-through of their own: the folder is flushed, which
    // on NTFS writes the journal's records of its names and on FAT and exFAT the folder's
    // entries. Where the file system cannot flush a folder (a network share), the server keeps
    // the names as durable as it does.
    HANDLE dir = ::CreateFileW(win::wide(host).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_ACCESS_DENIED)
            return;
        win::fail(code, true);
    }
    const bool flushed = ::FlushFileBuffers(dir) != 0;
    const DWORD code = ::GetLastError();
    ::CloseHandle(dir);
    if (!flushed && code != ERROR_INVALID_FUNCTION && code != ERROR_NOT_SUPPORTED && code != ERROR_ACCESS_DENIED &&
        code != ERROR_INVALID_PARAMETER)
        win::fail(code, true);
}

} // namespace brenvik
