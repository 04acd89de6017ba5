#include "platform/HostLauncher.h"

#include "platform/HostFileSystem.h"
#include "platform/RuntimeError.h"

namespace brenvik {

void HostLauncher::openFolder(const std::string& folder) {
    try {
        openHostFolder(files_.hostPath(folder.empty() ? "c:\\" : folder));
    } catch (const RuntimeError&) {
        // The file manager is a courtesy: a folder that cannot be mapped opens nothing.
    }
}

} // namespace brenvik
