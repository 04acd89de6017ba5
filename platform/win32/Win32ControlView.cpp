#include "platform/win32/Win32ControlView.h"

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Layout.h"
#include "platform/UserAction.h"
#include "platform/win32/Fonts.h"
#include "platform/win32/Win32ButtonView.h"
#include "platform/win32/Win32CanvasView.h"
#include "platform/win32/Win32FormView.h"
#include "platform/win32/Win32ListViews.h"
#include "platform/win32/Win32ScrollBarView.h"
#include "platform/win32/Win32StaticViews.h"
#include "platform/win32/Win32TextBoxView.h"

#include <algorithm>
#include <commctrl.h>
#include <utility>
#include <windowsx.h>

namespace brenvik {

namespace {

constexpr const wchar_t* ViewProperty = L"BrenvikView";
constexpr UINT_PTR SubclassId = 1;

// A control that lets what is behind it show through: an image (its picture may have transparent
// parts, or be none at all) or a see-through label.
bool seeThrough(const Control& control) {
    return control.kind() == ControlKind::Image ||
           (control.kind() == ControlKind::Label && static_cast<const Label&>(control).transparent());
}

bool overlap(const Geometry& a, const Geometry& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Whether a see-through control of the same container stands in front of `control` and over it.
// Such a control must not cut `control` out of the screen (as a sibling in front does), or
// nothing behind it would ever be drawn.
bool behindSeeThrough(const Control& control) {
    for (const Control* other : control.form().stacking()) {
        if (other == &control)
            return false;
        if (other->container() == control.container() && seeThrough(*other) &&
            overlap(other->geometry(), control.geometry()))
            return true;
    }
    return false;
}

std::unique_ptr<Win32ControlView> familyView(Control& control, Win32FormView& window, HWND parent, int id) {
    switch (control.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return std::make_unique<Win32ButtonView>(control, window, parent, id);
    case ControlKind::TextBox:
        return std::make_unique<Win32TextBoxView>(control, window, parent, id);
    case ControlKind::DriveList:
        return std::make_unique<Win32DriveListView>(control, window, parent, id);
    case ControlKind::DirList:
        return std::make_unique<Win32DirListView>(control, window, parent, id);
    case ControlKind::FileList:
        return std::make_unique<Win32FileListView>(control, window, parent, id);
    case ControlKind::Frame:
        return std::make_unique<Win32FrameView>(control, window, parent, id);
    case ControlKind::Label:
        return std::make_unique<Win32LabelView>(control, window, parent, id);
    case ControlKind::Shape:
    case ControlKind::Image:
    case ControlKind::PictureBox:
        return std::make_unique<Win32CanvasView>(control, window, parent, id);
    case ControlKind::VScrollBar:
        return std::make_unique<Win32ScrollBarView>(control, window, parent, id);
    }
    return nullptr;
}

} // namespace

COLORREF toColorRef(Color c) {
    return RGB(c.r, c.g, c.b);
}

std::unique_ptr<Win32ControlView> makeWin32ControlView(Control& control, Win32FormView& window, HWND parent, int id) {
    std::unique_ptr<Win32ControlView> view = familyView(control, window, parent, id);
    view->attach();
    return view;
}

Win32ControlView::Win32ControlView(Control& control, Win32FormView& window, HWND parent, int id, const wchar_t* cls,
                                   DWORD style, DWORD exStyle)
    : control_(control), window_(window) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    style |= WS_CHILD | (behindSeeThrough(control_) ? DWORD{0} : DWORD{WS_CLIPSIBLINGS});
    // A see-through control is painted after the controls behind it.
    if (seeThrough(control_))
        exStyle |= WS_EX_TRANSPARENT;
    hwnd_ = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void Win32ControlView::attach() {
    SetPropW(hwnd_, ViewProperty, this);
    SetWindowSubclass(hwnd_, subclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    {
        const Applying guard = applying();
        applyAll();
    }
    control_.setView(this);
}

Win32ControlView::~Win32ControlView() {
    if (control_.view() == this)
        control_.setView(nullptr);
    if (IsWindow(hwnd_)) {
        RemoveWindowSubclass(hwnd_, subclassProc, SubclassId);
        RemovePropW(hwnd_, ViewProperty);
    }
    if (font_)
        DeleteObject(font_);
}

Win32ControlView* Win32ControlView::of(HWND hwnd) {
    return hwnd ? static_cast<Win32ControlView*>(GetPropW(hwnd, ViewProperty)) : nullptr;
}

void Win32ControlView::changed(Property what) {
    // A counter's caption, a list's selection and its tool tip change at every item of a
    // detection, and each change costs the system a round trip or a drawing: only the last state
    // is shown, once the program is back at its message queue or paints.
    if (holds(what)) {
        if (std::find(held_.begin(), held_.end(), what) == held_.end())
            held_.push_back(what);
        window_.hold(*this);
        return;
    }
    // What the view sets on its window must not come back to the model as the user's doing.
    const Applying guard = applying();
    PropertyView::changed(what);
}

void Win32ControlView::releaseHeld() {
    const Applying guard = applying();
    for (Property what : std::exchange(held_, {}))
        PropertyView::changed(what);
}

void Win32ControlView::rescale() {
    const Applying guard = applying();
    applyLook();
    applyItems();
}

void Win32ControlView::user(const std::function<void()>& action) {
    runUserAction(control_.form().platform(), action);
    const Applying guard = applying();
    resync(control_);
}

// ---- Properties every control has.

void Win32ControlView::applyToolTip() {
    window_.setToolTip(hwnd_, win::widenShown(control_.toolTip()));
}

void Win32ControlView::applyEnabled() {
    // A frame's controls look as they act: disabled with it, as in the system's own dialogs. The
    // system disables a container's children from the pointer and the keys, but draws them as
    // they were.
    EnableWindow(hwnd_, enabledWithContainers(control_));
    window_.containerEnabled(control_);
}

bool enabledWithContainers(const Control& control) {
    for (const Control* c = &control; c; c = c->container())
        if (!c->enabled())
            return false;
    return true;
}

void Win32ControlView::applyVisible() {
    ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32ControlView::applyPicture() {
    // A picture drawn at its natural size may make the control larger.
    applyGeometry();
}

void Win32ControlView::applyDrawing() {
    repaint(nullptr);
}

void Win32ControlView::applyFont() {
    if (font_)
        DeleteObject(font_);
    font_ = win32fonts::create(control_.font(), window_.dpi());
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void Win32ControlView::applyLook() {
    applyFont();
    applyGeometry();
}

void Win32ControlView::applyGeometry() {
    const Geometry g = control_.geometry();
    RECT r{window_.pixels(g.left), window_.pixels(g.top), window_.pixels(g.left + g.width),
           window_.pixels(g.top + g.height)};
    place(r);
    RECT old;
    GetWindowRect(hwnd_, &old);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&old), 2);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    repaint(&old);
}

void Win32ControlView::repaint(const RECT* old) {
    if (!seeThrough(control_) && !behindSeeThrough(control_)) {
        InvalidateRect(hwnd_, nullptr, TRUE);
        return;
    }
    // Where see-through controls overlap, the container and every control there are drawn again,
    // back to front, so that what shows through is current.
    RECT now;
    GetWindowRect(hwnd_, &now);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
    RECT area = now;
    if (old)
        UnionRect(&area, &now, old);
    RedrawWindow(GetParent(hwnd_), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- Helpers of the families.

std::wstring Win32ControlView::text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Win32ControlView::showCaption() {
    const std::wstring caption = win::widenShown(control_.caption());
    if (text() == caption)
        return false;
    SetWindowTextW(hwnd_, caption.c_str());
    return true;
}

SIZE Win32ControlView::textExtent(const std::wstring& text) const {
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_);
    RECT r{0, 0, 0, 0};
    if (text.empty()) {
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        r.bottom = tm.tmHeight;
    } else {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int Win32ControlView::lineHeight() const {
    return textExtent(L"").cy;
}

PixelRect Win32ControlView::toPixelRect(const RECT& r) {
    return PixelRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

RECT Win32ControlView::toRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

bool Win32ControlView::inside(LPARAM lParam) const {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client;
    GetClientRect(hwnd_, &client);
    return PtInRect(&client, at) != 0;
}

bool Win32ControlView::clickOnRelease(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      const std::function<void()>& before) {
    if (message != WM_LBUTTONUP || !inside(lParam))
        return false;
    // The control finishes its own handling of the release first (an edit control places its
    // caret).
    result = DefSubclassProc(hwnd_, message, wParam, lParam);
    user([this, &before] {
        if (before)
            before();
        control_.userClick();
    });
    return true;
}

// ---- What the native control reports to its parent.

void Win32ControlView::command(int code) {
    if (!isApplying())
        onCommand(code);
}

void Win32ControlView::scroll(int code) {
    if (!isApplying())
        onScroll(code);
}

HBRUSH Win32ControlView::color(HDC dc) {
    // Disabled, a control's text is grey whatever its own colour, as the system draws its own
    // (a frame's caption included, which the system leaves to this colour).
    SetTextColor(dc, enabledWithContainers(control_) ? toColorRef(control_.foreColor()) : GetSysColor(COLOR_GRAYTEXT));
    return background(dc);
}

HBRUSH Win32ControlView::background(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- What the native control receives itself.

LRESULT Win32ControlView::own(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message == WM_MOUSEMOVE)
        runUserAction(control_.form().platform(), [this] { control_.userMouseMove(); });
    else if (message == WM_SETFOCUS && control_.focusable() && !isApplying())
        runUserAction(control_.form().platform(), [this] { control_.setFocus(); });
    LRESULT result = 0;
    handled = this->message(message, wParam, lParam, result);
    return result;
}

LRESULT CALLBACK Win32ControlView::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR self) {
    auto* view = reinterpret_cast<Win32ControlView*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, subclassProc, SubclassId);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    bool handled = false;
    LRESULT result = view->own(message, wParam, lParam, handled);
    return handled ? result : DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace brenvik
