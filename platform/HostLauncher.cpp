#include "platform/HostLauncher.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

namespace brenvik {

void HostLauncher::start(const std::string& commandLine) {
    const std::string explorer = "explorer.exe";
    if (utf8::asciiLower(commandLine.substr(0, explorer.size())) != explorer) {
        run(commandLine);
        return;
    }
    std::string folder = commandLine.substr(explorer.size());
    if (!folder.empty() && folder.front() == ' ')
        folder.erase(0, 1);
    if (folder.empty())
        folder = "c:\\";
    try {
        openFolder(files_.hostPath(folder));
    } catch (const RuntimeError&) {
        // The file manager is a courtesy: a folder that cannot be mapped opens nothing.
    }
}

} // namespace brenvik
