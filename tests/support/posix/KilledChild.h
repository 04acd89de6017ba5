#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brenvik {

// Runs `work` in a child process killed for real (SIGKILL) where the work calls `halt`, typically
// from a file hook once its output has grown: no destructor, no clean-up, as after a crash or a
// power cut. Returns when the child is gone; what it left on disk is then inspected. A work that
// ends without reaching the point to kill it at fails the test.
inline void killWhereItHalts(const std::function<void(const std::function<void()>& halt)>& work) {
    EXPECT_EXIT(work([] { ::raise(SIGKILL); }), ::testing::KilledBySignal(SIGKILL), "");
}

// Runs `work` in a child process, as a second program beside this one; the child ends with status
// 0 when the work returns true. No destructor runs in the child.
inline pid_t startChild(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(work() ? 0 : 1);
    return pid;
}

// True when the child started by startChild ended with status 0.
inline bool childSucceeded(pid_t pid) {
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace brenvik
