#include "platform/win32/Win32ScrollBarView.h"

#include "platform/Controls.h"

namespace brenvik {

Win32ScrollBarView::Win32ScrollBarView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"SCROLLBAR", SBS_VERT | WS_TABSTOP, 0),
      bar_(static_cast<VScrollBar&>(control)) {}

void Win32ScrollBarView::onScroll(int code) {
    switch (code) {
    case SB_LINEDOWN:
        user([this] { bar_.userLineDown(); });
        break;
    case SB_LINEUP:
        user([this] { bar_.userLineUp(); });
        break;
    case SB_PAGEDOWN:
        user([this] { bar_.userPageDown(); });
        break;
    case SB_PAGEUP:
        user([this] { bar_.userPageUp(); });
        break;
    default: {
        // The model moves the value; a dragged thumb goes back where the model has it.
        const Applying guard = applying();
        applyValue();
        break;
    }
    }
}

void Win32ScrollBarView::applyValue() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = bar_.min();
    info.nMax = bar_.max();
    info.nPos = bar_.value();
    SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
}

} // namespace brenvik
