#pragma once

#include "platform/win32/Win32ControlView.h"

namespace brenvik {

class CheckBox;
class CommandButton;
class OptionButton;

// The buttons, BUTTON controls: a command button is a push button, or with a picture an
// owner-drawn one showing the picture above its caption; an option button is a radio button the
// model keeps exclusive; a check box a check box. A press is the control's click. No option
// button or check box is drawn narrower than its indicator and caption side by side, or shorter
// than either.
class Win32ButtonView : public Win32ControlView {
public:
    Win32ButtonView(Control& control, Win32FormView& window, HWND parent, int id);

    bool drawItem(const DRAWITEMSTRUCT& item) override;

private:
    void onCommand(int code) override;
    void place(RECT& r) override;
    void applyCaption() override;
    void applyValue() override;

    // The one that the control is; the others are null.
    CommandButton* command_ = nullptr;
    OptionButton* option_ = nullptr;
    CheckBox* check_ = nullptr;
};

} // namespace brenvik
