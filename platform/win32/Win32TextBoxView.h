#pragma once

#include "platform/win32/Win32ControlView.h"

namespace brenvik {

class TextBox;

// A text box: an EDIT control, multi-line with its own scroll bar for a multi-line box. A box
// whose keys the window's logic watches is edited by the model alone: every key but Tab goes to
// it, and typing, pasting, cutting, undoing, the context menu and input methods are refused. A
// left-button release is a click at the caret.
class Win32TextBoxView : public Win32ControlView {
public:
    Win32TextBoxView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    void onCommand(int code) override;
    HBRUSH background(HDC dc) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void applyText() override;
    void applyLocked() override;
    void applyCaret() override;

    bool keyDown(WPARAM key);
    int selectionStart() const;

    TextBox& box_;
};

} // namespace brenvik
