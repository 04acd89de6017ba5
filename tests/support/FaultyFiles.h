#pragma once

#include "platform/HostFileSystem.h"
#include "platform/RuntimeError.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// The real temporary drives with hooks that watch or break single operations. A hook runs
// before its operation, with the path as the program spells it, and may throw to make it fail.
// Opened files are watched only while a file hook is set, so that the drives' own copy between
// files runs otherwise.
class FaultyFiles : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;
    using Hook = std::function<void(const std::string& path)>;

    // beforeCreate runs as a new file is created for a path, beforeAside as it takes its
    // temporary name, beforeName as it takes that path's name, beforeWithdraw as that name is
    // taken back; beforeSync at every flush of a file or a folder to the disk, beforeLock as a
    // folder is held; beforeSetAside as a file of the folder goes aside, beforeRestore as it comes
    // back, beforeRemove as it goes for good (with the path it had). Hooks of the files' work may
    // run on the thread the work runs aside on.
    Hook beforeCreate, beforeAside, beforeName, beforeWithdraw, beforeSync, beforeSetAside, beforeRestore, beforeRemove,
        beforeList, beforeLock;
    std::function<void(const std::string& path, size_t size)> beforeWrite;
    // After each read of an opened file: the size asked for and the bytes it gave.
    std::function<void(const std::string& path, size_t asked, size_t got)> afterRead;
    // What an opened file reports as its length, given the true one.
    std::function<int64_t(const std::string& path, int64_t length)> reportedLength;

    // The user's desktop folder as the program is told of it: the host's own is the real user's.
    std::optional<std::string> desktop;

    // Every hook unset.
    void heal() {
        beforeCreate = beforeAside = beforeName = beforeWithdraw = beforeSync = beforeSetAside = beforeRestore =
            beforeRemove = beforeList = beforeLock = nullptr;
        beforeWrite = nullptr;
        afterRead = nullptr;
        reportedLength = nullptr;
    }

    std::optional<std::string> desktopFolder() override { return desktop; }
    void syncFolder(const std::string& path) override {
        run(beforeSync, path);
        HostFileSystem::syncFolder(path);
    }
    std::vector<std::string> files(const std::string& path) override {
        run(beforeList, path);
        return HostFileSystem::files(path);
    }
    std::vector<ListedFile> stampedFiles(const std::string& path) override {
        run(beforeList, path);
        return HostFileSystem::stampedFiles(path);
    }
    std::unique_ptr<FolderLock> lockFolder(const std::string& path, const std::function<void()>& waiting) override {
        run(beforeLock, path);
        return HostFileSystem::lockFolder(path, waiting);
    }
    std::unique_ptr<AsideFile> setAside(const std::string& path) override {
        run(beforeSetAside, path);
        return std::make_unique<WatchedAside>(*this, HostFileSystem::setAside(path), path);
    }
    // A new file is created and watched under the name it will take.
    std::unique_ptr<NewFile> createNew(const std::string& path) override {
        run(beforeCreate, path);
        return std::make_unique<WatchedNew>(*this, HostFileSystem::createNew(path), path);
    }
    std::unique_ptr<File> openRead(const std::string& path) override {
        std::unique_ptr<File> f = HostFileSystem::openRead(path);
        if (!watchingFiles())
            return f;
        return std::make_unique<Watched>(*this, *f, path, std::move(f));
    }

private:
    static void run(const Hook& hook, const std::string& path) {
        if (hook)
            hook(path);
    }
    bool watchingFiles() const { return beforeWrite || afterRead || reportedLength; }

    // Passes every call to `inner`, which it owns when given `owned`, past the file hooks.
    class Watched : public File {
    public:
        Watched(FaultyFiles& fs, File& inner, std::string path, std::unique_ptr<File> owned = nullptr)
            : fs_(fs), inner_(inner), owned_(std::move(owned)), path_(std::move(path)) {}
        size_t read(char* buffer, size_t size) override {
            const size_t got = inner_.read(buffer, size);
            if (fs_.afterRead)
                fs_.afterRead(path_, size, got);
            return got;
        }
        void write(const char* buffer, size_t size) override {
            if (fs_.beforeWrite)
                fs_.beforeWrite(path_, size);
            inner_.write(buffer, size);
        }
        int64_t length() override {
            return fs_.reportedLength ? fs_.reportedLength(path_, inner_.length()) : inner_.length();
        }
        FileStamp stamp() override { return inner_.stamp(); }
        void sync() override { inner_.sync(); }
        void startSync() override { inner_.startSync(); }
        void close() override { inner_.close(); }

    private:
        FaultyFiles& fs_;
        File& inner_;
        std::unique_ptr<File> owned_;
        std::string path_;
    };

    class WatchedNew : public NewFile {
    public:
        WatchedNew(FaultyFiles& fs, std::unique_ptr<NewFile> inner, std::string path)
            : fs_(fs), inner_(std::move(inner)), path_(std::move(path)) {}
        File& file() override {
            if (!fs_.watchingFiles())
                return inner_->file();
            if (!view_)
                view_ = std::make_unique<Watched>(fs_, inner_->file(), path_);
            return *view_;
        }
        // Watched once, as the file is flushed once; a failure stands from then on, as a new
        // file's contract says.
        void flush() override {
            if (failed_)
                throw RuntimeError(failed_);
            if (!flushed_) {
                try {
                    run(fs_.beforeSync, path_);
                } catch (const RuntimeError& e) {
                    failed_ = e.number();
                    throw;
                }
            }
            inner_->flush();
            flushed_ = true;
        }
        void release() override {
            flush();
            inner_->release();
        }
        void nameAside() override {
            run(fs_.beforeAside, path_);
            inner_->nameAside();
        }
        void commit(Existing existing) override {
            flush();
            run(fs_.beforeName, path_);
            inner_->commit(existing);
        }
        void withdraw() override {
            run(fs_.beforeWithdraw, path_);
            inner_->withdraw();
        }

    private:
        FaultyFiles& fs_;
        std::unique_ptr<NewFile> inner_;
        std::string path_;
        std::unique_ptr<Watched> view_;
        bool flushed_ = false;
        int failed_ = 0;
    };

    class WatchedAside : public AsideFile {
    public:
        WatchedAside(FaultyFiles& fs, std::unique_ptr<AsideFile> inner, std::string path)
            : fs_(fs), inner_(std::move(inner)), path_(std::move(path)) {}
        void restore() override {
            run(fs_.beforeRestore, path_);
            inner_->restore();
        }
        void remove() override {
            run(fs_.beforeRemove, path_);
            inner_->remove();
        }

    private:
        FaultyFiles& fs_;
        std::unique_ptr<AsideFile> inner_;
        std::string path_;
    };
};

} // namespace brenvik
