#include "platform/win32/Win32StaticViews.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/win32/Win32FormView.h"

#include <cstdlib>

namespace brenvik {

// ---- Frame

Win32FrameView::Win32FrameView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT) {}

bool Win32FrameView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NCHITTEST:
        // A group box lets the pointer through to its container; a frame is a control of its own.
        result = HTCLIENT;
        return true;
    case WM_ERASEBKGND: {
        // A frame is opaque: one shown in front of another hides it and its contents completely
        // (a group box of its own is see-through).
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        result = 1;
        return true;
    }
    default:
        break;
    }
    if (clickOnRelease(message, wParam, lParam, result))
        return true;
    // A frame holds controls: what they report to their parent goes to their views.
    return Win32FormView::childMessage(message, wParam, lParam, result);
}

Win32FrameView::~Win32FrameView() {
    if (fitted_)
        DeleteObject(fitted_);
}

void Win32FrameView::applyCaption() {
    if (showCaption()) {
        fitCaption();
        repaint(nullptr);
    }
}

void Win32FrameView::applyLook() {
    Win32ControlView::applyLook();
    fitCaption();
}

void Win32FrameView::applyGeometry() {
    Win32ControlView::applyGeometry();
    fitCaption();
}

void Win32FrameView::fitCaption() {
    if (!font_)
        return;
    const std::wstring caption = win::widenShown(control().caption());
    const int dpi = static_cast<int>(window().dpi());
    // The system draws the caption from a little past the frame's left edge and clips it as far
    // short of the right edge.
    const int room = window().pixels(control().width()) - MulDiv(32, dpi, 96);
    const auto widthIn = [this, &caption](HFONT font) {
        HDC dc = GetDC(hwnd());
        HGDIOBJ old = SelectObject(dc, font);
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
        return static_cast<int>(r.right - r.left);
    };
    HFONT font = font_;
    LOGFONTW look{};
    GetObjectW(font_, sizeof look, &look);
    // A point smaller at a time, as long as the caption stays readable.
    while (room > 0 && widthIn(font) > room && std::abs(look.lfHeight) > MulDiv(9, dpi, 96)) {
        look.lfHeight += look.lfHeight < 0 ? 1 : -1;
        look.lfWidth = 0;
        HFONT smaller = CreateFontIndirectW(&look);
        if (!smaller)
            break;
        if (font != font_)
            DeleteObject(font);
        font = smaller;
    }
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (fitted_ && fitted_ != font)
        DeleteObject(fitted_);
    fitted_ = font == font_ ? nullptr : font;
}

// ---- Label

Win32LabelView::Win32LabelView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"STATIC", SS_NOPREFIX | SS_NOTIFY, 0),
      label_(static_cast<Label&>(control)) {}

bool Win32LabelView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return clickOnRelease(message, wParam, lParam, result);
}

HBRUSH Win32LabelView::background(HDC dc) {
    if (!label_.transparent())
        return Win32ControlView::background(dc);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void Win32LabelView::place(RECT& r) {
    const std::wstring caption = win::widenShown(label_.caption());
    const SIZE extent = textExtent(caption);
    TextMeasure text;
    text.empty = caption.empty();
    text.width = extent.cx;
    text.height = extent.cy;
    text.lineHeight = lineHeight();
    text.lineSpacing = text.lineHeight;
    r = toRect(placeLabel(label_, toPixelRect(r), text, [this, &caption](int width) {
                   HDC dc = GetDC(hwnd());
                   HGDIOBJ old = SelectObject(dc, font_);
                   RECT wrapped{0, 0, width, 0};
                   DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &wrapped,
                             DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
                   SelectObject(dc, old);
                   ReleaseDC(hwnd(), dc);
                   return static_cast<int>(wrapped.bottom - wrapped.top);
               }).rect);
}

void Win32LabelView::applyCaption() {
    // The caption's width may change where the label has to stand.
    if (showCaption())
        applyGeometry();
}

void Win32LabelView::applyLook() {
    applyFont();
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    switch (label_.alignment()) {
    case Align::Center:
        style |= SS_CENTER;
        break;
    case Align::Right:
        style |= SS_RIGHT;
        break;
    default:
        style |= label_.wordWrap() && !label_.autoSize() ? SS_LEFT : SS_LEFTNOWORDWRAP;
        break;
    }
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    applyGeometry();
}

} // namespace brenvik
