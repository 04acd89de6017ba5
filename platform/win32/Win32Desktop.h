#pragma once

#include "platform/Desktop.h"
#include "platform/win32/TaskbarProgress.h"
#include "platform/windows/Win32.h"

#include <map>
#include <memory>
#include <vector>

namespace brenvik {

class Win32FormView;

// The desktop on Win32: message boxes with Italian button captions, one top-level window per form
// (created when the form is first shown), modal windows with a message loop of their own, and the
// event queue, time and sound of the user-interface thread.
//
// The message boxes are the system's own (MessageBoxW): its layout, icons, sounds and keyboard
// handling are what every Windows user knows; a CBT hook renames its buttons before the box first
// shows, so they read in Italian on a Windows of any language.
class Win32Desktop : public Desktop {
public:
    explicit Win32Desktop(HINSTANCE instance);
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void formShown(Form& form) override;
    void formHidden(Form& form) override;
    void formUnloaded(Form& form) override;
    // A window shown while another is visible is modal: the windows behind it are disabled until
    // it goes; this loop runs until the form is hidden or unloaded.
    void runModal(Form& form) override;
    void yield() override;
    void pause(int milliseconds) override;
    void pauseAnswering(int milliseconds) override;
    void beep() override;
    [[noreturn]] void endProgram() override;

    // Runs the program's message loop until the system asks the thread to quit.
    void run();

    // The window of a form, or null when it was never shown.
    Win32FormView* existingView(const Form& form) const;

    void showProgress(int done, int total) override;

protected:
    void paintPending() override;
    void handleEventsUntil(const std::function<bool()>& done) override;
    void wake() override;

private:
    Win32FormView& view(Form& form);
    void leave(Form& form);
    // Takes one message off the queue and handles it; false once WM_QUIT came (it is posted again
    // for the outer loops).
    bool handle(const MSG& msg);
    HWND frontWindow() const;

    struct Modal {
        const Form* form;
        std::vector<HWND> disabled;
    };

    static LRESULT CALLBACK wakeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    TaskbarProgress taskbar_;
    // A window of no size that only receives the wakes of work running aside.
    HWND wakeWindow_ = nullptr;
    std::map<const Form*, std::unique_ptr<Win32FormView>> views_;
    std::vector<Modal> modals_;
};

} // namespace brenvik
