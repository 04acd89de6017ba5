#include "platform/win32/Win32StaticViews.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <uxtheme.h>
#include <vsstyle.h>

namespace brenvik {

namespace {

// The theme functions, from the system's uxtheme.dll loaded at the first use (null where there is
// none): importing it would add a DLL Windows looks for beside the program first.
struct ThemeCalls {
    decltype(&OpenThemeData) open = nullptr;
    decltype(&CloseThemeData) close = nullptr;
    decltype(&DrawThemeBackground) background = nullptr;
    decltype(&DrawThemeText) text = nullptr;
};

const ThemeCalls* themeCalls() {
    static const ThemeCalls* calls = []() -> const ThemeCalls* {
        HMODULE module = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module)
            return nullptr;
        static ThemeCalls c;
        const auto bind = [module](auto& function, const char* name) {
            const FARPROC address = GetProcAddress(module, name);
            std::memcpy(&function, &address, sizeof function);
            return address != nullptr;
        };
        const bool found = bind(c.open, "OpenThemeData") && bind(c.close, "CloseThemeData") &&
                           bind(c.background, "DrawThemeBackground") && bind(c.text, "DrawThemeText");
        return found ? &c : nullptr;
    }();
    return calls;
}

} // namespace

// ---- Frame

Win32FrameView::Win32FrameView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT) {}

bool Win32FrameView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        paint(dc);
        EndPaint(hwnd(), &ps);
        result = 0;
        return true;
    }
    case WM_ENABLE:
        // Its caption's colour follows its state.
        InvalidateRect(hwnd(), nullptr, TRUE);
        return false;
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

void Win32FrameView::paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const bool enabled = enabledWithContainers(control());
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    const std::wstring caption = text();
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    const int height = static_cast<int>(measured.bottom - measured.top);
    const int left = MulDiv(8, static_cast<int>(window().dpi()), 96);
    RECT box = client;
    box.top = height / 2;
    RECT label{left, 0, std::min(static_cast<LONG>(left) + measured.right, client.right - left), height};
    const ThemeCalls* theme = themeCalls();
    HTHEME data = theme ? theme->open(hwnd(), L"BUTTON") : nullptr;
    const int state = enabled ? GBS_NORMAL : GBS_DISABLED;
    if (data)
        theme->background(data, dc, BP_GROUPBOX, state, &box, nullptr);
    else
        DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        // The line stops short of the caption on either side.
        RECT gap = label;
        InflateRect(&gap, MulDiv(2, static_cast<int>(window().dpi()), 96), 0);
        FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        if (data && enabled) {
            theme->text(data, dc, BP_GROUPBOX, state, caption.c_str(), static_cast<int>(caption.size()),
                        DT_LEFT | DT_SINGLELINE, 0, &label);
        } else if (data) {
            // Not every theme gives a disabled group box a colour of its own: the system's grey.
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_LEFT | DT_SINGLELINE);
        } else if (enabled) {
            SetTextColor(dc, toColorRef(control().foreColor()));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_LEFT | DT_SINGLELINE);
        } else {
            // Without a theme, grey text with a light shadow: the system's look of disabled text.
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            RECT shadow = label;
            OffsetRect(&shadow, 1, 1);
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, DT_LEFT | DT_SINGLELINE);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_LEFT | DT_SINGLELINE);
        }
    }
    if (data)
        theme->close(data);
    SelectObject(dc, oldFont);
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
