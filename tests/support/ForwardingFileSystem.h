#pragma once

#include "platform/FileSystem.h"

#include <memory>

namespace brenvik {

// A file that passes every call to `inner`; tests derive from it to break or watch single calls.
class ForwardingFile : public File {
public:
    explicit ForwardingFile(std::unique_ptr<File> inner) : inner_(std::move(inner)) {}
    size_t read(char* buffer, size_t size) override { return inner_->read(buffer, size); }
    void write(const char* buffer, size_t size) override { inner_->write(buffer, size); }
    int64_t length() override { return inner_->length(); }
    void sync() override { inner_->sync(); }
    void startSync() override { inner_->startSync(); }
    void close() override { inner_->close(); }

protected:
    std::unique_ptr<File> inner_;
};

// A file system that passes every call to `inner`; tests derive from it to break or watch single
// operations on the real temporary drives.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}
    std::vector<DriveInfo> drives() override { return inner_.drives(); }
    std::string currentFolder(char drive) override { return inner_.currentFolder(drive); }
    void setCurrentFolder(const std::string& path) override { inner_.setCurrentFolder(path); }
    void checkFolder(const std::string& path) override { inner_.checkFolder(path); }
    std::vector<std::string> folders(const std::string& path) override { return inner_.folders(path); }
    std::vector<std::string> files(const std::string& path) override { return inner_.files(path); }
    void makeFolder(const std::string& path) override { inner_.makeFolder(path); }
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    int64_t fileLength(const std::string& path) override { return inner_.fileLength(path); }
    std::unique_ptr<File> openRead(const std::string& path) override { return inner_.openRead(path); }
    Temporary createTemporary(const std::string& path) override { return inner_.createTemporary(path); }
    void removeAbandonedTemporaries(const std::string& folder) override { inner_.removeAbandonedTemporaries(folder); }
    void removeFile(const std::string& path) override { inner_.removeFile(path); }
    void rename(const std::string& from, const std::string& to, Existing existing) override {
        inner_.rename(from, to, existing);
    }
    void replaceFile(const std::string& from, const std::string& to) override { inner_.replaceFile(from, to); }
    void syncFolder(const std::string& path) override { inner_.syncFolder(path); }
    bool sameFile(const std::string& a, const std::string& b) override { return inner_.sameFile(a, b); }
    std::string hostPath(const std::string& path) override { return inner_.hostPath(path); }

protected:
    FileSystem& inner_;
};

} // namespace brenvik
