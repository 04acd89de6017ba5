#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace brenvik {

struct SaveFileOptions {
    unsigned mode = 0666; // the permission bits on POSIX, before the umask
    // False: never flushed, only for measuring what durability costs.
    bool flushes = true;
    // False: under a temporary name even where the file system keeps unnamed files, as on FAT;
    // for the tests of that way.
    bool unnamed = true;
};

// The new file of Files::createNew on this host's own paths; the settings file is written
// through it too. How it stays aside:
// - Linux: an unnamed file (O_TMPFILE) in the target's folder, linked under its name at the
//   commit; a killed run leaves nothing. Where the file system has no unnamed files (FAT, exFAT,
//   network shares), a temporary name with a random token, renamed at the commit; a killed run
//   leaves that file, which no run ever takes for its own. So does one killed once the file was
//   released or named aside, or in the microseconds between the two steps of replacing a name
//   that is taken (a second name, then a rename over the first).
// - Windows: a temporary name with a random token, marked for deletion while it is written, so
//   that the system removes it when a killed run's handle closes; renamed through its handle.
// A committed file keeps its handle until it is destroyed, so that a withdrawal knows it.
// Failures throw RuntimeError with the runtime's numbers, as the file system does.
class SaveFile final : public NewFile {
public:
    using Options = SaveFileOptions;
    // The new file for the host path `target`, in its folder.
    explicit SaveFile(std::string target, Options options = {});
    ~SaveFile() override;
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    File& file() override;
    void flush() override;
    void release() override;
    void nameAside() override;
    void commit(Existing existing) override;
    void withdraw() override;

    // "~brenvik-" + 16 random hexadecimal digits + ".$$$": short enough for any folder a part's
    // own name fits in, and never ending in three digits, so the part detection passes it over.
    static std::string temporaryName();

private:
    // The host's own steps.
    void create(const Options& options);
    void flushHandle();
    void giveName(Existing existing);
    // Takes the committed name back, if it still holds this file.
    void takeNameBack();
    void discard() noexcept;
    // Throws when the failure of an earlier flush stands.
    void throwIfFailed() const;

    std::string target_;
    std::unique_ptr<File> file_; // the open file; none once released, committed or discarded
    std::string aside_;          // the temporary name's host path; empty while the file has none
    // What the file was when it was released, to know it again by its name.
    FileStamp releasedAs_;
    bool flushes_;
    bool flushed_ = false;
    bool committed_ = false;
    bool goesWithHandle_ = false; // closing the handle removes it (unnamed, or marked for deletion)
    int failed_ = 0;              // the number an earlier flush failed with
};

// Files::lockFolder, Files::setAside and Files::syncFolder on host paths.
std::unique_ptr<FolderLock> lockHostFolder(const std::string& host, const std::function<void()>& waiting);
std::unique_ptr<AsideFile> setAsideHost(const std::string& host);
void syncHostFolder(const std::string& host);

} // namespace brenvik
