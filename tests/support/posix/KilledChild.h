#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brenvik {

// Runs `work` in a child process and kills it for real (SIGKILL) where the work calls `halt`,
// typically from a file hook once its output has grown: no destructor, no clean-up, as after a
// crash or a power cut. Returns when the child is gone; what it left on disk is then inspected.
inline void killWhereItHalts(const std::function<void(const std::function<void()>& halt)>& work) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(fds[0]);
        const auto halt = [&fds] {
            const char reached = 1;
            if (::write(fds[1], &reached, 1) == 1)
                for (;;)
                    ::pause();
            ::_exit(4);
        };
        work(halt);
        ::_exit(3); // the work ended without reaching the point to kill it at
    }
    ::close(fds[1]);
    char reached = 0;
    const ssize_t n = ::read(fds[0], &reached, 1);
    ::close(fds[0]);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(n, 1) << "the child ended with status " << status << " before reaching the point to kill it at";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
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
