#pragma once

#include "support/ForwardingFileSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace brenvik {

// The real temporary drives with hooks that watch or break single operations. A hook runs
// before its operation, with the path as the program spells it, and may throw to make it fail.
// Opened files are wrapped only while a file hook is set, so that the drives' own copy between
// files runs otherwise.
class FaultyFiles : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // beforeSync runs at every flush of a file or a folder to the disk.
    std::function<void(const std::string&path)> beforeCreate, beforeSync, beforeReplace, beforeList;
    std::function<void(const std::string& path, size_t size)> beforeWrite;
    // After each read of an opened file: the size asked for and the bytes it gave.
    std::function<void(const std::string& path, size_t asked, size_t got)> afterRead;
    // What an opened file reports as its length, given the true one.
    std::function<int64_t(const std::string& path, int64_t length)> reportedLength;
    void syncFolder(const std::string& path) override {
        if (beforeSync)
            beforeSync(path);
        inner_.syncFolder(path);
    }
    std::vector<std::string> files(const std::string& path) override {
        if (beforeList)
            beforeList(path);
        return inner_.files(path);
    }
    // beforeReplace runs before a file takes its name, by either operation.
    void replaceFile(const std::string& from, const std::string& to) override {
        if (beforeReplace)
            beforeReplace(to);
        inner_.replaceFile(from, to);
    }
    void rename(const std::string& from, const std::string& to, Existing existing) override {
        if (beforeReplace)
            beforeReplace(to);
        inner_.rename(from, to, existing);
    }
    // A temporary is created and watched under the name it will take.
    Temporary createTemporary(const std::string& path) override {
        if (beforeCreate)
            beforeCreate(path);
        Temporary made = inner_.createTemporary(path);
        made.file = watched(std::move(made.file), path);
        return made;
    }
    std::unique_ptr<File> openRead(const std::string& path) override { return watched(inner_.openRead(path), path); }

private:
    class Watched : public ForwardingFile {
    public:
        Watched(FaultyFiles& fs, std::unique_ptr<File> f, std::string path)
            : ForwardingFile(std::move(f)), fs_(fs), path_(std::move(path)) {}
        size_t read(char* buffer, size_t size) override {
            const size_t got = inner_->read(buffer, size);
            if (fs_.afterRead)
                fs_.afterRead(path_, size, got);
            return got;
        }
        void write(const char* buffer, size_t size) override {
            if (fs_.beforeWrite)
                fs_.beforeWrite(path_, size);
            inner_->write(buffer, size);
        }
        int64_t length() override {
            return fs_.reportedLength ? fs_.reportedLength(path_, inner_->length()) : inner_->length();
        }
        void sync() override {
            if (fs_.beforeSync)
                fs_.beforeSync(path_);
            inner_->sync();
        }

    private:
        FaultyFiles& fs_;
        std::string path_;
    };

    std::unique_ptr<File> watched(std::unique_ptr<File> f, const std::string& path) {
        if (!beforeWrite && !afterRead && !reportedLength && !beforeSync)
            return f;
        return std::make_unique<Watched>(*this, std::move(f), path);
    }
};

} // namespace brenvik
