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

HostFileSystem::HostFileSystem(DriveTable drives) : drives_(std::move(drives)) {
    static const bool prepared = (prepareHost(), true);
    (void)prepared;
}

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

std::unique_ptr<NewFile> HostFileSystem::createNew(const std::string& path) {
    checkNewName(path);
    return std::make_unique<SaveFile>(map(path, Expect::File), newFiles_);
}

std::unique_ptr<FolderLock> HostFileSystem::lockFolder(const std::string& folder) {
    return lockHostFolder(map(folder, Expect::Folder));
}

void HostFileSystem::syncFolder(const std::string& path) {
    if (newFiles_.flushes)
        syncHostFolder(map(path, Expect::Folder));
}

} // namespace brenvik
