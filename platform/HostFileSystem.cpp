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

HostFileSystem::HostFileSystem(DriveTable drives) : HostFileSystem(std::make_shared<DriveTable>(std::move(drives))) {}

HostFileSystem::HostFileSystem(std::shared_ptr<const DriveTable> drives) : drives_(std::move(drives)) {
    static const bool prepared = (prepareHost(), true);
    (void)prepared;
}

bool HostFileSystem::isFolder(const std::string& path) {
    try {
        checkFolder(path);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

std::vector<std::string> HostFileSystem::folders(const std::string& path) {
    return list(path, true);
}

std::vector<std::string> HostFileSystem::files(const std::string& path) {
    return list(path, false);
}

std::optional<std::string> HostFileSystem::unmap(const std::string& host) const {
#ifdef _WIN32
    constexpr char Separator = '\\';
    const auto same = [](char a, char b) { return utf8::asciiLower(a) == utf8::asciiLower(b); };
#else
    constexpr char Separator = '/';
    const auto same = [](char a, char b) { return a == b; };
#endif
    for (const auto& [letter, root] : drives_->entries()) {
        const bool inside = host.size() >= root.size() && std::equal(root.begin(), root.end(), host.begin(), same) &&
                            (host.size() == root.size() || root.back() == Separator || host[root.size()] == Separator);
        if (!inside)
            continue;
        std::string path = std::string(1, letter) + ":\\";
        for (char c : host.substr(root.size()))
            path += c == Separator ? '\\' : c;
        if (auto folder = winpath::normalizeFolder(path))
            return folder;
    }
    return std::nullopt;
}

std::optional<std::string> HostFileSystem::desktopFolder() {
    const std::string host = hostDesktop();
    if (host.empty())
        return std::nullopt;
    std::optional<std::string> folder = unmap(host);
    try {
        if (folder)
            checkFolder(*folder);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    return folder;
}

std::string HostFileSystem::hostPath(const std::string& path) {
    return map(path, Expect::Folder);
}

std::unique_ptr<NewFile> HostFileSystem::createNew(const std::string& path) {
    checkNewName(path);
    return std::make_unique<SaveFile>(map(path, Expect::File), newFiles_);
}

std::unique_ptr<FolderLock> HostFileSystem::lockFolder(const std::string& folder,
                                                       const std::function<void()>& waiting) {
    return lockHostFolder(map(folder, Expect::Folder), waiting);
}

std::unique_ptr<AsideFile> HostFileSystem::setAside(const std::string& path) {
    return setAsideHost(map(path, Expect::File));
}

void HostFileSystem::syncFolder(const std::string& path) {
    if (newFiles_.flushes)
        syncHostFolder(map(path, Expect::Folder));
}

} // namespace brenvik
