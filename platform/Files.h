#pragma once

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace brenvik {

// An open file of raw bytes. Every failure throws a RuntimeError with the runtime's number.
class File {
public:
    // The most a copy moves at a time: a block a mebibyte long costs one system call, where small
    // blocks would make a copy spend more time in calls than in copying.
    static constexpr int64_t BlockSize = 1048576;

    virtual ~File() = default;

    // Reads up to `size` bytes at the current position; fewer only at the end of the file.
    virtual size_t read(char* buffer, size_t size) = 0;
    // Writes all `size` bytes at the current position.
    virtual void write(const char* buffer, size_t size) = 0;
    virtual int64_t length() = 0;
    virtual FileStamp stamp() = 0;
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

// What a new file meets when it takes its name and a file or a link of that name is there.
// Replace: the name is given to the new file in one step, a link replaced as a name and never
// written through (a file its owner made read-only is refused with 70). Keep: the file there
// stays and 58 is reported.
enum class Existing { Replace, Keep };

// A file written aside that takes its name only once complete, in the manner of a save file:
// until commit() it has no name any listing shows for it (on hosts that cannot do that, a
// temporary name "~brenvik-" + a random token + ".$$$" that no other run ever removes), and in
// every outcome but a commit (a failure, an exception, the destructor) it is discarded and
// nothing of it stays. So a name always holds either what stood there before or the whole new
// file, however the program ends.
class NewFile {
public:
    // Discards the file unless it was committed.
    virtual ~NewFile() = default;

    // Where its bytes are written.
    virtual File& file() = 0;
    // Puts what was written on the disk. A flush that failed is never tried again (the system may
    // have dropped the bytes it could not write and report the next flush as a success): from
    // then on flush() and commit() fail with the same number and the file can only be discarded.
    virtual void flush() = 0;
    // Flushes the file and gives up its open handle, for a writer short of open files; it stays
    // aside, under a temporary name, until committed or discarded. Nothing more can be written.
    virtual void release() = 0;
    // Gives the file a temporary name of its own in its folder, where it waits for its commit:
    // the part of naming it that the folder can refuse (no room for one more name, a quota, a
    // disk error, a security module that forbids it), taken while nothing a listing of parts
    // shows has changed. A file already under such a name keeps it.
    virtual void nameAside() = 0;
    // Flushes the file unless that is done, then gives it its name, as `existing` says. The
    // folder's list of names is flushed by Files::syncFolder, once for many commits.
    virtual void commit(Existing existing) = 0;
    // Takes a commit back: the name goes, if it still holds this file, and the file is discarded.
    // Does nothing before a commit.
    virtual void withdraw() = 0;
};

// A file moved, whole, under a temporary name of its own in its folder (Files::setAside), where no
// listing of parts finds it, until it is put back or removed.
class AsideFile {
public:
    // Puts the file back unless restore() or remove() was called; a failure then leaves it aside.
    virtual ~AsideFile() = default;
    // Gives the file its name back in one step; a name taken meanwhile fails with 58 and leaves
    // the file aside.
    virtual void restore() = 0;
    // Removes the file, if the temporary name still holds it.
    virtual void remove() = 0;
};

// Held while it lives: see Files::lockFolder.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

// The files as the split and the join read and write them. Paths are Windows path texts
// ("c:\myfiles\film.avi", drive letters in any case, "\" or "/" as separators); an implementation
// maps them onto the host. Failures throw RuntimeError: 53 missing file, 76 missing path, 70
// permission, 75 folder exists or access error, 61 disk full, 57 device error, 68 unknown drive,
// 71 drive not ready, 52 a name no Windows path can hold, 58 a name taken, 55 a folder another run
// holds, 67 too many open files.
class Files {
public:
    virtual ~Files() = default;

    // Creates one folder level: 75 when it exists, 76 when its parent does not.
    virtual void makeFolder(const std::string& path) = 0;
    // Whether the path names a folder now; never throws.
    virtual bool isFolder(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual int64_t fileLength(const std::string& path) = 0;
    // The stamp of the file a path names now; throws as opening it would.
    virtual FileStamp stampOf(const std::string& path) = 0;
    // True when both paths name the same existing file, however they are spelled.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // Opens a regular file (or a link to one) for reading. Anything else that is not a folder (a
    // pipe, a socket, a device) is refused with 75 without waiting for a writer or a peer.
    virtual std::unique_ptr<File> openRead(const std::string& path) = 0;
    // A new file for `path`, written aside in its folder under no name of its own: see NewFile.
    // Fails at once where `path` could not take it (see checkNewName), before a byte is written.
    virtual std::unique_ptr<NewFile> createNew(const std::string& path) = 0;
    // Throws what giving a new file the name `path` would: 75 for a folder of that name or a name
    // too long, 52 for a name no file may have, 76 for a missing folder, 70 for a file its owner
    // made read-only, which is never replaced nor removed. Creates nothing.
    virtual void checkNewName(const std::string& path) = 0;
    // Holds the folder against every other run's lock of it, in this program or another, until
    // the lock is destroyed. While another run holds it, `waiting` is called every few
    // milliseconds; it may throw to stop waiting, which is how a caller bounds the wait. Where
    // the file system keeps no locks (a network share without its lock service) the lock holds
    // nothing and says nothing.
    virtual std::unique_ptr<FolderLock> lockFolder(const std::string& folder, const std::function<void()>& waiting) = 0;
    // Moves the file `path` (a link as a link) under a temporary name of its own in its folder,
    // to be put back or removed: see AsideFile.
    virtual std::unique_ptr<AsideFile> setAside(const std::string& path) = 0;
    // Makes the folder's list of names durable, so that files just named in it survive a power
    // cut under their names. Hosts whose files carry their names durably need do nothing.
    virtual void syncFolder(const std::string& path) = 0;
};

} // namespace brenvik
