#pragma once

#include "platform/win32/Win32ControlView.h"

namespace brenvik {

class VScrollBar;

// A vertical SCROLLBAR control. The bar only reports which part the user pressed; the model moves
// the value.
class Win32ScrollBarView : public Win32ControlView {
public:
    Win32ScrollBarView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    void onScroll(int code) override;
    void applyValue() override;

    VScrollBar& bar_;
};

} // namespace brenvik
