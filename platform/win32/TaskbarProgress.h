#pragma once

#include "platform/windows/Win32.h"

namespace brenvik {

// The progress on a window's task bar button, as the system's own copy shows it (ITaskbarList3).
// What it needs (ole32) is loaded at the first use from the system's folder alone; where the
// system has no such button, nothing is shown and nothing fails.
class TaskbarProgress {
public:
    TaskbarProgress() = default;
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // `done` of `total` on the button of `window`; a total of 0 takes the progress away.
    void show(HWND window, int done, int total);

private:
    bool ready();

    bool tried_ = false;
    // The ITaskbarList3 object, once made; typed loosely so that this header needs no COM headers.
    void* list_ = nullptr;
    bool shown_ = false;
};

} // namespace brenvik
