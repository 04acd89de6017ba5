#pragma once

#include "platform/Files.h"
#include "platform/windows/Win32.h"

#include <string>

namespace brenvik::win {

// The runtime number for a Win32 error code (GetLastError) met while reaching a file, or a folder.
int errorNumberForWin32(unsigned long code, bool forFolder);
[[noreturn]] void fail(DWORD code, bool forFolder);
// As on the other hosts: a folder where a file is wanted is an access error, a file missing in a
// folder that is missing too a missing path.
[[noreturn]] void failOpen(DWORD code, const std::string& host);

// The wide form of a host path. Paths as long as a folder may not be (248) take the prefix that
// lifts the limit; they are absolute and hold only "\" separators, as that prefix requires.
std::wstring wide(const std::string& host);
DWORD attributesOf(const std::string& host);
bool isFolder(const std::string& host);
// The folder of a host path: "C:\" for a file in a root, no final separator below it.
std::string parentOf(const std::string& host);

// The stamp of the file open as `h`; an empty one where the system cannot describe it.
FileStamp stampOf(HANDLE h);

// An open file handle of raw bytes; closed with the object.
class Win32File : public File {
public:
    explicit Win32File(HANDLE h) : h_(h) {}
    ~Win32File() override;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    size_t read(char* buffer, size_t size) override;
    void write(const char* buffer, size_t size) override;
    int64_t length() override;
    FileStamp stamp() override { return stampOf(h_); }
    void sync() override;
    void close() override;

    HANDLE handle() const { return h_; }

private:
    HANDLE h_;
};

} // namespace brenvik::win
