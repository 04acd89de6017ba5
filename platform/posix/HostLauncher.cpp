#include "platform/HostLauncher.h"

#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace brenvik {

namespace {

// Runs argv detached: the intermediate child exits at once, so no zombie is left behind and the
// program is not tied to our process group.
void spawnDetached(std::vector<std::string> args) {
    if (args.empty())
        return;
    // Built before the fork: between fork and exec only calls that cannot allocate are safe.
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        ::setsid();
        if (::fork() == 0)
            ::execvp(argv[0], argv.data());
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

void HostLauncher::openHostFolder(const std::string& hostFolder) {
    spawnDetached({"xdg-open", hostFolder});
}

void HostLauncher::run(const std::string& commandLine) {
    std::istringstream words(commandLine);
    std::vector<std::string> args;
    for (std::string w; words >> w;)
        args.push_back(w);
    spawnDetached(args);
}

} // namespace brenvik
