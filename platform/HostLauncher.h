#pragma once

#include "platform/Launcher.h"

namespace brenvik {

class FileSystem;

// Starts programs on this host. "explorer.exe " + a Windows folder path opens that folder, mapped
// to its host path, in the file explorer on Windows and in the desktop's file manager (xdg-open)
// elsewhere; other command lines run as they are (split at spaces on POSIX hosts). Nothing waits
// for the program.
class HostLauncher : public Launcher {
public:
    explicit HostLauncher(FileSystem& files) : files_(files) {}
    void start(const std::string& commandLine) override;

private:
    // Each host's own: the file manager on a host folder, and any other command line.
    static void openFolder(const std::string& hostFolder);
    static void run(const std::string& commandLine);

    FileSystem& files_;
};

} // namespace brenvik
