// What the file system does alike on every host; the host's own calls are in posix/ and
// windows/.
#include "platform/HostFileSystem.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"

#include <algorithm>

namespace brenvik {

const std::string* DriveTable::root(char letter) const {
    auto it = roots_.find(utf8::asciiLower(letter));
    return it == roots_.end() ? nullptr : &it->second;
}

HostFileSystem::HostFileSystem(DriveTable drives) : drives_(std::move(drives)) {}

std::string HostFileSystem::currentFolder(char drive) {
    char letter = utf8::asciiLower(drive);
    auto it = current_.find(letter);
    if (it != current_.end()) {
        try {
            checkFolder(it->second);
            return it->second;
        } catch (const RuntimeError&) {
            // Gone since it was shown: the drive's root stands in for it.
        }
    }
    return std::string(1, letter) + ":\\";
}

void HostFileSystem::setCurrentFolder(const std::string& path) {
    if (auto folder = winpath::normalizeFolder(path))
        current_[(*folder)[0]] = *folder;
}

std::vector<std::string> HostFileSystem::folders(const std::string& path) {
    return list(path, true);
}

std::vector<std::string> HostFileSystem::files(const std::string& path) {
    return list(path, false);
}

std::string HostFileSystem::hostPath(const std::string& path) {
    return map(path, Expect::Folder);
}

FileSystem::Temporary HostFileSystem::createTemporary(const std::string& path) {
    // The name the file will take is tried first, as creating it would be: a folder of that
    // name, or a name too long, fails now rather than after the whole copy.
    const std::string folder = winpath::folderOf(path);
    const std::string name = path.substr(folder.size());
    const std::string target = map(path, Expect::File);
    if (name.empty() || name == "." || name == ".." || !canNameAFile(target, name))
        throw RuntimeError(err::PathFileAccess);
    // Numbers are taken in turn, so that a writer with several open finds a free one at once; a
    // folder holding all thousand is full of them.
    for (int tried = 0; tried < 1000; ++tried) {
        const std::string temporary = winpath::temporaryName(nextTemporary_);
        nextTemporary_ = (nextTemporary_ + 1) % 1000;
        if (std::unique_ptr<File> file = createBeside(target, temporary))
            return {std::move(file), folder + temporary};
    }
    throw RuntimeError(err::TooManyFiles);
}

void HostFileSystem::removeAbandonedTemporaries(const std::string& folder) {
    std::string host;
    try {
        host = map(folder, Expect::Folder);
    } catch (const RuntimeError&) {
        return; // a folder that cannot be reached holds nothing to remove
    }
    removeAbandonedIn(host);
}

} // namespace brenvik
