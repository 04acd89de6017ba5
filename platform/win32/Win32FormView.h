#pragma once

#include "platform/Form.h"
#include "platform/windows/Win32.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

class Win32ControlView;

// The top-level window of one Form, built from the model alone: one Win32ControlView per control
// (containers are parent windows), stacked as Form::stacking() says, with the form's caption,
// icon, border style and background picture. Its inner size is the one the form's outer size
// leaves once the frame is taken off, at the window's DPI. Tab moves the focus in
// Form::tabOrder()'s order (the system's own order would follow the stacking).
//
// Closing it from its frame asks the model (Form::userClose) and otherwise does nothing: the
// model hides or unloads the window, and the desktop follows.
class Win32FormView : public FormView {
public:
    Win32FormView(Form& form, HINSTANCE instance, HWND owner);
    ~Win32FormView() override;
    Win32FormView(const Win32FormView&) = delete;
    Win32FormView& operator=(const Win32FormView&) = delete;

    Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    UINT dpi() const { return dpi_; }
    // Twips to pixels at this window's DPI, rounded to the nearest.
    int pixels(int twips) const;

    // Shows the window; the first time it is centred on its monitor.
    void present();
    void hide();
    void setOwner(HWND owner);

    void formChanged(Property what) override;

    // The view of one of the form's controls.
    Win32ControlView* viewOf(const Control& control) const {
        const auto it = byControl_.find(&control);
        return it == byControl_.end() ? nullptr : it->second;
    }

    // The enabled state of the controls inside `container` follows its own.
    void containerEnabled(const Control& container);

    // `view` has changes held back (Win32ControlView::changed): they are shown when the program is
    // next at its message queue, or at releaseHeld(), whichever comes first.
    void hold(Win32ControlView& view);
    void releaseHeld();

    // The tool tip the pointer shows over a control's window; empty for none.
    void setToolTip(HWND control, const std::wstring& text);

    // Moves the focus to the next (or previous) control of the tab order that the user can reach.
    void tab(bool backwards);
    // Alt+`letter`: focuses and presses the control whose caption marks the letter. False when
    // none does.
    bool accessKey(wchar_t letter);

    // The window procedure's part for the messages that the controls send to their parent
    // (commands, scrolling, drawing, colours); used by the form and by the frames holding
    // controls. True when handled, with the result in `result`.
    static bool childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void applySize();
    void applyFocus();
    void applyIcon();
    void relayout();
    DWORD style() const;
    DWORD exStyle() const;

    Form& form_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND toolTips_ = nullptr;
    std::vector<std::unique_ptr<Win32ControlView>> views_;
    std::map<const Control*, Win32ControlView*> byControl_;
    std::vector<Win32ControlView*> held_;
    bool placed_ = false;
};

} // namespace brenvik
