#pragma once

#include "platform/Files.h"

#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace brenvik::posix {

// The runtime number for an errno value met while reaching a file, or a folder.
int errorNumberForErrno(int code, bool forFolder);
[[noreturn]] void fail(int code, bool forFolder);
// As fail, but a file missing in a folder that is missing too is a missing path, as the runtime
// reports it.
[[noreturn]] void failOpen(int code, const std::string& host);

bool isFolder(const std::string& host);
// The folder of a host path, without its final "/" unless it is the root.
std::string parentOf(const std::string& host);

// The stamp of a file as stat and statfs describe it.
FileStamp stampOf(const struct stat& st, const struct statfs& fs);

// An open file descriptor of raw bytes; closed with the object.
class PosixFile : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    size_t read(char* buffer, size_t size) override;
    void write(const char* buffer, size_t size) override;
    size_t copyFrom(File& source, char* buffer, size_t size) override;
    int64_t length() override;
    FileStamp stamp() override;
    void sync() override;
    void startSync() override;
    void close() override;

    int fd() const { return fd_; }
    // From now on startSync() does nothing: for a file that is never flushed either.
    void neverFlushed() { writeback_ = false; }

private:
    int fd_;
    bool kernelCopy_ = true;
    bool writeback_ = true;
};

} // namespace brenvik::posix
