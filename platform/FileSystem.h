#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

// A drive as the drive list shows it: "c: [/home/ana]".
struct DriveInfo {
    char letter = 'c'; // lower case
    std::string label;

    std::string display() const { return std::string(1, letter) + ": [" + label + "]"; }
};

// An open file of raw bytes. Every failure throws a RuntimeError with the runtime's number.
class File {
public:
    virtual ~File() = default;

    // Reads up to `size` bytes at the current position; fewer only at the end of the file.
    virtual size_t read(char* buffer, size_t size) = 0;
    // Writes all `size` bytes at the current position.
    virtual void write(const char* buffer, size_t size) = 0;
    virtual int64_t length() = 0;
    // Moves up to `size` bytes from `source`'s current position to this file's, advancing both, and
    // returns how many moved: fewer only where the source ends. `buffer` holds at least `size`
    // bytes; it carries them when the host cannot copy from file to file itself, which is what
    // this default does.
    virtual size_t copyFrom(File& source, char* buffer, size_t size) {
        const size_t n = source.read(buffer, size);
        write(buffer, n);
        return n;
    }
    // Makes what was written durable: on the disk when this returns.
    virtual void sync() = 0;
    // Starts writing what was written to the disk and returns at once; a later flush waits for
    // it. Files written one after another and flushed at the end keep the disk busy meanwhile.
    virtual void startSync() {}
    // Closes the file; a failure to write back what was buffered is reported here.
    virtual void close() = 0;
};

// The file system as the windows see it. Paths are Windows path texts ("c:\myfiles\film.avi",
// drive letters in any case, "\" or "/" as separators); an implementation maps them onto the host.
// Failures throw RuntimeError: 53 missing file, 76 missing path, 70 permission, 75 folder exists
// or access error, 61 disk full, 57 device error, 68 unknown drive, 71 drive not ready, 52 a name
// no Windows path can hold.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::vector<DriveInfo> drives() = 0;

    // The folder a bare drive ("c:") stands for, and its update when a folder of that drive is
    // shown. Paths are as the folder list writes them: "c:\" or "c:\myfiles".
    virtual std::string currentFolder(char drive) = 0;
    virtual void setCurrentFolder(const std::string& path) = 0;

    // Throws when the folder cannot be shown (missing, not a folder, drive not ready).
    virtual void checkFolder(const std::string& path) = 0;
    // Names of the sub-folders and of the files (hidden ones included), in name order; a name no
    // Windows path can hold is left out, since nothing could open it.
    virtual std::vector<std::string> folders(const std::string& path) = 0;
    virtual std::vector<std::string> files(const std::string& path) = 0;

    // Creates one folder level: 75 when it exists, 76 when its parent does not.
    virtual void makeFolder(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual int64_t fileLength(const std::string& path) = 0;
    // Opens a regular file (or a link to one) for reading. Anything else that is not a folder (a
    // pipe, a socket, a device) is refused with 75 without waiting for a writer or a peer.
    virtual std::unique_ptr<File> openRead(const std::string& path) = 0;
    // Creates a new, empty file under a temporary name ("~brenvik" and a number, ".$$$") in the
    // folder of `path`, for what will take the name `path` once complete. While it is open no
    // other run of the program takes it for abandoned.
    struct Temporary {
        std::unique_ptr<File> file;
        std::string path;
    };
    virtual Temporary createTemporary(const std::string& path) = 0;
    // Closes a temporary that will not take its name and removes it, quietly: its writer already
    // fails for a reason of its own, and one left behind goes with the next run in its folder.
    void discard(Temporary& temporary) noexcept;
    // Removes the temporaries that runs which ended before closing them (a kill, a power cut) left
    // in the folder; those still open are left to their writers. Reports nothing.
    virtual void removeAbandonedTemporaries(const std::string& folder) = 0;
    // Removes the name: a link goes as a link, what it points to stays.
    virtual void removeFile(const std::string& path) = 0;
    // Puts the file `from` in the place of the existing file `to`, in one step: at every moment
    // `to` names either its old bytes or the new ones. Both are in the same folder. 70 when `to`
    // may not be written.
    virtual void replaceFile(const std::string& from, const std::string& to) = 0;
    // Gives the closed file `from` the name `to` in the same folder, in one step. A file or link
    // already named `to` is replaced as a name, never written through, or, with Keep, left
    // alone and 58 reported.
    enum class Existing { Replace, Keep };
    virtual void rename(const std::string& from, const std::string& to, Existing existing) = 0;
    // Makes the folder's list of names durable, so that files just created in it survive a power
    // cut under their names. Hosts whose files carry their names durably need do nothing.
    virtual void syncFolder(const std::string& path) { (void)path; }
    // True when both paths name the same existing file, however they are spelled.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;

    // The host's own path for a Windows path text (for the file manager).
    virtual std::string hostPath(const std::string& path) = 0;
};

// Name order of the lists: letters compared without case, ties broken byte by byte, so that
// both file lists always agree and the order is total.
bool nameLess(const std::string& a, const std::string& b);

} // namespace brenvik
