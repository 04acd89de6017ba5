#pragma once

#include "platform/FileStamp.h"

#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// A drive as the drive list shows it: "c: [/home/ana]".
struct DriveInfo {
    char letter = 'c'; // lower case
    std::string label;

    std::string display() const { return std::string(1, letter) + ": [" + label + "]"; }
};

// A file as a listing found it: its name and its stamp then.
struct ListedFile {
    std::string name;
    FileStamp stamp;
};

// The drives and folders as the browser shows them. Paths are Windows path texts ("c:\myfiles",
// drive letters in any case, "\" or "/" as separators); an implementation maps them onto the host.
// Failures throw RuntimeError: 76 missing path, 70 permission, 68 unknown drive, 71 drive not
// ready, 52 a name no Windows path can hold.
class Folders {
public:
    virtual ~Folders() = default;

    virtual std::vector<DriveInfo> drives() = 0;
    // The user's own desktop folder, where a drive shows it, or nothing.
    virtual std::optional<std::string> desktopFolder() = 0;
    // Throws when the folder cannot be shown (missing, not a folder, drive not ready).
    virtual void checkFolder(const std::string& path) = 0;
    // Names of the sub-folders and of the files (hidden ones included), in name order; a name no
    // Windows path can hold is left out, since nothing could open it.
    virtual std::vector<std::string> folders(const std::string& path) = 0;
    virtual std::vector<std::string> files(const std::string& path) = 0;
    // The files as files() lists them, each with its stamp as Files::stampOf gives it at that
    // moment (an empty stamp for one that changed away meanwhile).
    virtual std::vector<ListedFile> stampedFiles(const std::string& path) = 0;
};

// Name order of the lists: letters compared without case, ties broken byte by byte, so that
// both file lists always agree and the order is total.
bool nameLess(const std::string& a, const std::string& b);

} // namespace brenvik
