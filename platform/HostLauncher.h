#pragma once

#include "platform/Launcher.h"

#include <string>

namespace brenvik {

class HostFileSystem;

// Opens folders on this host: a Windows folder path, mapped to its host path, in the file
// explorer on Windows and in the desktop's file manager (xdg-open) elsewhere. Nothing waits for
// the program.
class HostLauncher : public Launcher {
public:
    explicit HostLauncher(HostFileSystem& files) : files_(files) {}
    void openFolder(const std::string& folder) override;

    // Starts a command line as it is (split at spaces on POSIX hosts); each host's own.
    static void run(const std::string& commandLine);

private:
    // The file manager on a host folder; each host's own.
    static void openHostFolder(const std::string& hostFolder);

    HostFileSystem& files_;
};

} // namespace brenvik
