#include "platform/HostLauncher.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace brenvik {

namespace {

// Runs argv detached: the intermediate child exits at once, so no zombie is left behind and the
// program is not tied to our process group.
void spawnDetached(const std::vector<std::string>& args) {
    if (args.empty())
        return;
    pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

void HostLauncher::start(const std::string& commandLine) {
    const std::string explorer = "explorer.exe";
    if (utf8::asciiLower(commandLine.substr(0, explorer.size())) == explorer) {
        std::string folder = commandLine.substr(explorer.size());
        if (!folder.empty() && folder.front() == ' ')
            folder.erase(0, 1);
        if (folder.empty())
            folder = "c:\\";
        try {
            spawnDetached({"xdg-open", files_.hostPath(folder)});
        } catch (const RuntimeError&) {
            // The file manager is a courtesy: a folder that cannot be mapped opens nothing.
        }
        return;
    }
    std::istringstream words(commandLine);
    std::vector<std::string> args;
    for (std::string w; words >> w;)
        args.push_back(w);
    spawnDetached(args);
}

} // namespace brenvik
