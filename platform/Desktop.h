#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace brenvik {

class Form;

// Message-box button sets, icons and answers, in the platform's flag encoding.
namespace mb {
constexpr int OK = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int ButtonsMask = 0x0F;

constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int IconMask = 0xF0;

constexpr int IdOK = 1;
constexpr int IdCancel = 2;
constexpr int IdAbort = 3;
constexpr int IdRetry = 4;
constexpr int IdIgnore = 5;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
} // namespace mb

// The application's title, shown by message boxes that have none of their own.
inline constexpr const char* ApplicationTitle = "Brenvik";

// Thrown by a desktop whose endProgram cannot stop the process (the scripted one in tests), so
// that the handlers unwind without running anything more.
struct ProgramEnded {};

// Thrown by Desktop::throwIfStopped in work that runs aside once the user has asked the program to
// end: the work gives up where it stands, losing nothing, as after any failure.
struct WorkStopped {};

// Everything the windows' logic asks of the desktop besides its controls: modal boxes and
// windows, the event queue, time, sound and the end of the program.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal message box and returns the button pressed (mb::IdOK ...). `title` is never
    // empty: callers give ApplicationTitle where the box has no title of its own.
    virtual int messageBox(const std::string& text, int flags, const std::string& title) = 0;

    // The window became visible, was hidden or was unloaded (views follow it).
    virtual void formShown(Form& form) = 0;
    virtual void formHidden(Form& form) = 0;
    virtual void formUnloaded(Form& form) = 0;

    // Runs the modal loop of a window already shown and activated; returns once the window is no
    // longer visible (hidden or unloaded).
    virtual void runModal(Form& form) = 0;

    // Handles the pending window events, then returns.
    virtual void yield() = 0;
    // Paints what has changed on the windows now, without handling any input, so that a long
    // command's status line keeps up while the command runs. Commands call it often: thirty
    // paints a second are as fast as a status line can be read, and painting after every part of
    // a fast split would cost more than the copy, so calls sooner than that paint nothing.
    void refresh() {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastRefresh_ < std::chrono::milliseconds(33))
            return;
        lastRefresh_ = now;
        paintPending();
    }
    // Paints now, however soon after the last paint.
    void refreshNow() {
        lastRefresh_ = std::chrono::steady_clock::now();
        paintPending();
    }
    virtual void pause(int milliseconds) = 0;
    // Pauses as pause() does, while the windows keep answering: they repaint, move and minimise.
    // The user's keys and clicks stay queued until the pause ends, as they do through pause(), so
    // that none is lost and none runs a handler in the middle of it. A desktop without windows
    // just pauses.
    virtual void pauseAnswering(int milliseconds) { pause(milliseconds); }
    virtual void beep() = 0;

    // Ends the program at once, without any window's closing events.
    [[noreturn]] virtual void endProgram() = 0;

    // Work that would keep the windows from answering (copying, flushing, waiting for another
    // program) runs aside: `work` runs on a thread of its own, and this returns once it has ended,
    // rethrowing what it threw. Meanwhile this thread keeps handling the window events, so the
    // windows repaint, move and minimise (what input the windows take then is the model's
    // business: see Platform::runAside), and runs what the work posts, in order. Called on the
    // user-interface thread only.
    void runAside(const std::function<void()>& work);
    // Runs `f` on the user-interface thread: from work running aside, as soon as that thread
    // handles its events, after everything posted before; on that thread itself, at once.
    void post(std::function<void()> f);
    // True while work runs aside.
    bool busy() const { return running_ > 0; }
    // Asks the work running aside to stop and handles the window events until it has. The work
    // sees it at its next throwIfStopped. Called on the user-interface thread.
    void stopWork();
    // In work running aside: throws WorkStopped once stopWork was called.
    void throwIfStopped() const;
    // The progress of the work running aside, for a front end that shows it beside the window
    // (Windows' task bar button): `done` of `total`, or nothing once the work has ended.
    virtual void showProgress(int done, int total) {
        (void)done;
        (void)total;
    }

protected:
    Desktop();

    // Only the paints that changes have left pending; no input is handled.
    virtual void paintPending() {}
    // The front end's event loop: handles window events until `done()` holds, looking at it
    // again after each of them and after every wake().
    virtual void handleEventsUntil(const std::function<bool()>& done) = 0;
    // Called from any thread: handleEventsUntil, wherever it is nested, soon runs runPosted and
    // looks at its condition again.
    virtual void wake() = 0;
    // Runs what work running aside posted; front ends call it when woken.
    void runPosted();

private:
    std::chrono::steady_clock::time_point lastRefresh_{};
    std::thread::id userInterface_;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
    std::atomic<int> running_{0}; // runAside calls not returned yet
    std::atomic<int> working_{0}; // works not ended yet
    std::atomic<bool> stop_{false};
};

} // namespace brenvik
