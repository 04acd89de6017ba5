#include "platform/win32/Win32ButtonView.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>

namespace brenvik {

namespace {

DWORD buttonStyle(const Control& control) {
    switch (control.kind()) {
    case ControlKind::OptionButton:
        // Not an automatic radio button: the model keeps option buttons exclusive.
        return BS_RADIOBUTTON | WS_TABSTOP;
    case ControlKind::CheckBox:
        return BS_CHECKBOX | WS_TABSTOP;
    default:
        return WS_TABSTOP |
               (static_cast<const CommandButton&>(control).picture().empty() ? BS_PUSHBUTTON : BS_OWNERDRAW);
    }
}

} // namespace

Win32ButtonView::Win32ButtonView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"BUTTON", buttonStyle(control), 0) {
    if (control.kind() == ControlKind::OptionButton)
        option_ = static_cast<OptionButton*>(&control);
    else if (control.kind() == ControlKind::CheckBox)
        check_ = static_cast<CheckBox*>(&control);
    else
        command_ = static_cast<CommandButton*>(&control);
}

void Win32ButtonView::onCommand(int code) {
    if (code == BN_CLICKED)
        user([this] { control().userClick(); });
}

void Win32ButtonView::place(RECT& r) {
    if (command_)
        return;
    const UINT dpi = window().dpi();
    const int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
    const SIZE text = textExtent(win::widenShown(control().caption()));
    // The box, the space the system leaves after it, and the focus rectangle around the caption:
    // with less, the system cuts the caption's last letters.
    r = toRect(placeIndicatorButton(toPixelRect(r), box + MulDiv(10, static_cast<int>(dpi), 96) + text.cx,
                                    std::max(box, static_cast<int>(text.cy)) + 2));
}

void Win32ButtonView::applyCaption() {
    if (!showCaption())
        return;
    // An option button or check box stands where its caption's width puts it.
    if (command_)
        repaint(nullptr);
    else
        applyGeometry();
}

void Win32ButtonView::applyValue() {
    if (option_)
        SendMessageW(hwnd(), BM_SETCHECK, option_->value() ? BST_CHECKED : BST_UNCHECKED, 0);
    else if (check_)
        SendMessageW(hwnd(), BM_SETCHECK, check_->value() ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32ButtonView::drawItem(const DRAWITEMSTRUCT& item) {
    if (!command_)
        return false;
    // A graphical button: its picture above its caption.
    HDC dc = item.hDC;
    const int dpi = static_cast<int>(window().dpi());
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const int side = MulDiv(32, dpi, 96);
    const int shift = pushed ? 1 : 0;
    const int gap = MulDiv(4, dpi, 96);
    RECT picture{(r.left + r.right - side) / 2 + shift, r.top + gap + shift, 0, 0};
    picture.right = picture.left + side;
    picture.bottom = picture.top + side;
    pictures::draw(dc, command_->picture(), picture);
    RECT text{r.left + gap + shift, picture.bottom + shift, r.right - gap + shift, r.bottom - gap + shift};
    const std::wstring caption = win::widenShown(control().caption());
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    if (item.itemState & ODS_DISABLED) {
        RECT light = text;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, caption.c_str(), -1, &light, DT_CENTER | DT_WORDBREAK);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, toColorRef(control().foreColor()));
    }
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, old);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -MulDiv(3, dpi, 96), -MulDiv(3, dpi, 96));
        DrawFocusRect(dc, &focus);
    }
    return true;
}

} // namespace brenvik
