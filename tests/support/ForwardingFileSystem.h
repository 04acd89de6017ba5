#pragma once

#include "platform/FileSystem.h"

#include <memory>

namespace brenvik {

// A file that passes every call to `inner`; tests derive from it to break or watch single calls.
class ForwardingFile : public File {
public:
    explicit ForwardingFile(File& inner) : inner_(inner) {}
    explicit ForwardingFile(std::unique_ptr<File> owned) : inner_(*owned), owned_(std::move(owned)) {}
    size_t read(char* buffer, size_t size) override { return inner_.read(buffer, size); }
    void write(const char* buffer, size_t size) override { inner_.write(buffer, size); }
    int64_t length() override { return inner_.length(); }
    FileStamp stamp() override { return inner_.stamp(); }
    void sync() override { inner_.sync(); }
    void startSync() override { inner_.startSync(); }
    void close() override { inner_.close(); }

protected:
    File& inner_;

private:
    std::unique_ptr<File> owned_;
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
    FileStamp stampOf(const std::string& path) override { return inner_.stampOf(path); }
    std::unique_ptr<File> openRead(const std::string& path) override { return inner_.openRead(path); }
    std::unique_ptr<NewFile> createNew(const std::string& path) override { return inner_.createNew(path); }
    void checkNewName(const std::string& path) override { inner_.checkNewName(path); }
    std::unique_ptr<FolderLock> lockFolder(const std::string& folder) override { return inner_.lockFolder(folder); }
    void removeFile(const std::string& path) override { inner_.removeFile(path); }
    void syncFolder(const std::string& path) override { inner_.syncFolder(path); }
    bool sameFile(const std::string& a, const std::string& b) override { return inner_.sameFile(a, b); }
    std::string hostPath(const std::string& path) override { return inner_.hostPath(path); }

protected:
    FileSystem& inner_;
};

} // namespace brenvik
