#pragma once

#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/HostFiles.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace brenvik {

// Which host folder each drive letter stands for. On Linux "c:" is the user's home folder and
// "z:" the root; on Windows every drive of the system stands for itself. Tests map letters onto
// temporary folders.
class DriveTable {
public:
    // The table for this host and user. Linux: c: the home folder (from $HOME), z: the root.
    // Windows: the system's drives as they are at each call, listed with their volume labels.
    static DriveTable forThisUser();

    void map(char letter, const std::string& hostFolder);
    // The host folder of a letter (any case), or nothing.
    const std::string* root(char letter) const;
    const std::map<char, std::string>& entries() const { return roots_; }
    // True for the table of the system's own drives (Windows): a letter is a drive only while
    // the system has it.
    bool systemDrives() const { return systemDrives_; }

private:
    std::map<char, std::string> roots_;
    bool systemDrives_ = false;
};

// The file system of this host, reached through Windows path texts mapped by a drive table: the
// browser's folders and the split's and the join's files.
class HostFileSystem : public Folders, public Files {
public:
    explicit HostFileSystem(DriveTable drives);
    // Over a table shared with others, which see the drives it maps later (the tests' drives).
    explicit HostFileSystem(std::shared_ptr<const DriveTable> drives);

    // Folders
    std::vector<DriveInfo> drives() override;
    std::optional<std::string> desktopFolder() override;
    void checkFolder(const std::string& path) override;
    std::vector<std::string> folders(const std::string& path) override;
    std::vector<std::string> files(const std::string& path) override;
    std::vector<ListedFile> stampedFiles(const std::string& path) override;

    // Files
    void makeFolder(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    int64_t fileLength(const std::string& path) override;
    FileStamp stampOf(const std::string& path) override;
    bool sameFile(const std::string& a, const std::string& b) override;
    std::unique_ptr<File> openRead(const std::string& path) override;
    std::unique_ptr<NewFile> createNew(const std::string& path) override;
    void checkNewName(const std::string& path) override;
    std::unique_ptr<FolderLock> lockFolder(const std::string& folder, const std::function<void()>& waiting) override;
    std::unique_ptr<AsideFile> setAside(const std::string& path) override;
    void syncFolder(const std::string& path) override;

    // The host's own path for a Windows path text, for this host's launcher.
    std::string hostPath(const std::string& path);
    // From now on nothing written is flushed to the disk: only for measuring what durability costs.
    void skipFlushes() { newFiles_.flushes = false; }
    // From now on new files wait under temporary names, as on a file system without unnamed
    // files (FAT): for the tests of that way.
    void nameNewFilesAside() { newFiles_.unnamed = false; }

private:
    enum class Expect { File, Folder };
    std::string map(const std::string& path, Expect expect);
    // The Windows path text of a host folder, through the drive whose folder holds it; nothing
    // when no drive does.
    std::optional<std::string> unmap(const std::string& host) const;
    // This host's own desktop folder, as a host path; empty when it has none.
    static std::string hostDesktop();
    std::vector<std::string> list(const std::string& path, bool wantFolders);
    // Once per process, before the first file is opened: Linux lifts the soft limit of open files
    // to the hard one, so that a split can hold its thousand parts open.
    static void prepareHost();

    std::shared_ptr<const DriveTable> drives_;
    SaveFile::Options newFiles_;
};

} // namespace brenvik
