#include "platform/win32/Win32FormView.h"

#include "platform/Platform.h"
#include "platform/UserAction.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Win32ControlView.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <utility>

namespace brenvik {

namespace {

constexpr const wchar_t* FormClass = L"BrenvikForm";

void registerForm(HINSTANCE instance, WNDPROC proc) {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = FormClass;
    // The program's icon from the resources, for the windows that have none of their own.
    wc.hIcon = LoadIconW(instance, L"BRENVIK");
    RegisterClassExW(&wc);
}

} // namespace

Win32FormView::Win32FormView(Form& form, HINSTANCE instance, HWND owner) : form_(form) {
    registerForm(instance, windowProc);
    hwnd_ = CreateWindowExW(exStyle(), FormClass, win::widenShown(form.caption()).c_str(), style(), CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, owner, nullptr, instance, this);
    dpi_ = GetDpiForWindow(hwnd_);
    if (dpi_ == 0)
        dpi_ = 96;
    toolTips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
    int id = 1000;
    for (Control* control : form.controls()) {
        HWND parent = hwnd_;
        if (control->container()) {
            auto it = byControl_.find(control->container());
            if (it != byControl_.end())
                parent = it->second->hwnd();
        }
        std::unique_ptr<Win32ControlView> view = makeWin32ControlView(*control, *this, parent, id++);
        byControl_[control] = view.get();
        views_.push_back(std::move(view));
    }
    // Each one goes to the bottom in turn, front first: the back one ends up lowest.
    for (Control* control : form.stacking()) {
        auto it = byControl_.find(control);
        if (it != byControl_.end())
            SetWindowPos(it->second->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    applyIcon();
    applySize();
    form.setView(this);
}

Win32FormView::~Win32FormView() {
    if (form_.view() == this)
        form_.setView(nullptr);
    // The control views go first, so that no window being destroyed reports to them.
    views_.clear();
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (bigIcon_)
        DestroyIcon(bigIcon_);
    if (smallIcon_)
        DestroyIcon(smallIcon_);
}

int Win32FormView::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi_) / 1440.0));
}

DWORD Win32FormView::style() const {
    switch (form_.borderStyle()) {
    case BorderStyle::None:
        return WS_POPUP | WS_CLIPSIBLINGS;
    case BorderStyle::FixedToolWindow:
        return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    case BorderStyle::FixedSingle:
    case BorderStyle::FixedDialog:
        break;
    }
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | (form_.minButton() ? WS_MINIMIZEBOX : 0);
}

DWORD Win32FormView::exStyle() const {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (form_.borderStyle() == BorderStyle::FixedToolWindow)
        ex |= WS_EX_TOOLWINDOW;
    if (form_.borderStyle() == BorderStyle::FixedDialog)
        ex |= WS_EX_DLGMODALFRAME;
    return ex;
}

void Win32FormView::applyIcon() {
    if (form_.icon().empty())
        return;
    if (bigIcon_)
        DestroyIcon(bigIcon_);
    if (smallIcon_)
        DestroyIcon(smallIcon_);
    bigIcon_ = pictures::icon(form_.icon(), GetSystemMetricsForDpi(SM_CXICON, dpi_));
    smallIcon_ = pictures::icon(form_.icon(), GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
    if (bigIcon_)
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    if (smallIcon_)
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void Win32FormView::applySize() {
    const BorderStyle border = form_.borderStyle();
    RECT r{0, 0, std::max(1, pixels(form_.outerWidth() - frameWidthTwips(border))),
           std::max(1, pixels(form_.outerHeight() - frameHeightTwips(border)))};
    AdjustWindowRectExForDpi(&r, style(), FALSE, exStyle(), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormView::applyFocus() {
    if (Control* focused = form_.focused()) {
        auto it = byControl_.find(focused);
        if (it != byControl_.end() && IsWindowVisible(hwnd_) && GetFocus() != it->second->hwnd())
            SetFocus(it->second->hwnd());
    }
}

void Win32FormView::present() {
    if (!placed_) {
        placed_ = true;
        // Centred at the size the window was designed for, so that a window that grows from a
        // point after it is shown ends up centred too.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        HWND owner = GetWindow(hwnd_, GW_OWNER);
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
        RECT designed{0, 0, pixels(form_.clientWidth()), pixels(form_.clientHeight())};
        AdjustWindowRectExForDpi(&designed, style(), FALSE, exStyle(), dpi_);
        const RECT& area = monitor.rcWork;
        const int left = (area.left + area.right - (designed.right - designed.left)) / 2;
        const int top = (area.top + area.bottom - (designed.bottom - designed.top)) / 2;
        SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    applyFocus();
}

void Win32FormView::hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

void Win32FormView::setOwner(HWND owner) {
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

namespace {
// Posted to a form that holds changes back: the program is back at its message queue.
constexpr UINT ReleaseHeld = WM_APP + 2;
} // namespace

void Win32FormView::containerEnabled(const Control& container) {
    for (const auto& [control, view] : byControl_) {
        for (const Control* c = control->container(); c; c = c->container()) {
            if (c == &container) {
                EnableWindow(view->hwnd(), enabledWithContainers(*control));
                break;
            }
        }
    }
}

void Win32FormView::hold(Win32ControlView& view) {
    if (std::find(held_.begin(), held_.end(), &view) != held_.end())
        return;
    if (held_.empty())
        PostMessageW(hwnd_, ReleaseHeld, 0, 0);
    held_.push_back(&view);
}

void Win32FormView::releaseHeld() {
    for (Win32ControlView* view : std::exchange(held_, {}))
        view->releaseHeld();
}

void Win32FormView::setToolTip(HWND control, const std::wstring& text) {
    if (!toolTips_)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (text.empty())
        return;
    std::wstring copy = text;
    tool.lpszText = copy.data();
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32FormView::formChanged(Property what) {
    switch (what) {
    case Property::Caption:
        SetWindowTextW(hwnd_, win::widenShown(form_.caption()).c_str());
        break;
    case Property::Geometry:
        applySize();
        break;
    case Property::Focus:
        applyFocus();
        break;
    case Property::Picture:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    default:
        break;
    }
}

void Win32FormView::tab(bool backwards) {
    std::vector<Control*> order;
    for (Control* control : form_.tabOrder())
        if (control->focusable() && control->reachable() && control->shown())
            order.push_back(control);
    if (order.empty())
        return;
    auto at = std::find(order.begin(), order.end(), form_.focused());
    Control* next;
    if (at == order.end())
        next = backwards ? order.back() : order.front();
    else if (backwards)
        next = at == order.begin() ? order.back() : *(at - 1);
    else
        next = at + 1 == order.end() ? order.front() : *(at + 1);
    runUserAction(form_.platform(), [next] { next->setFocus(); });
    applyFocus();
}

bool Win32FormView::accessKey(wchar_t letter) {
    if (letter > 0x7F)
        return false;
    Control* target = form_.accessKeyTarget(static_cast<char>(letter));
    auto it = target ? byControl_.find(target) : byControl_.end();
    if (it == byControl_.end())
        return false;
    runUserAction(form_.platform(), [target] { target->setFocus(); });
    applyFocus();
    // Pressed as a click presses it, so that it reports itself through the usual notification.
    SendMessageW(it->second->hwnd(), BM_CLICK, 0, 0);
    return true;
}

void Win32FormView::relayout() {
    for (auto& view : views_)
        view->rescale();
    applyIcon();
    applySize();
}

bool Win32FormView::childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (Win32ControlView* view = Win32ControlView::of(reinterpret_cast<HWND>(lParam))) {
            view->command(HIWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_VSCROLL:
        if (Win32ControlView* view = Win32ControlView::of(reinterpret_cast<HWND>(lParam))) {
            view->scroll(LOWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (Win32ControlView* view = Win32ControlView::of(item->hwndItem))
            if (view->drawItem(*item)) {
                result = TRUE;
                return true;
            }
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (Win32ControlView* view = Win32ControlView::of(reinterpret_cast<HWND>(lParam))) {
            result = reinterpret_cast<LRESULT>(view->color(reinterpret_cast<HDC>(wParam)));
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK Win32FormView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<Win32FormView*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32FormView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (childMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case ReleaseHeld:
        releaseHeld();
        return 0;
    case WM_CLOSE:
        // The model decides: it may refuse, or hide or unload the window, which the desktop follows.
        runUserAction(form_.platform(), [this] { form_.userClose(); });
        return 0;
    case WM_ERASEBKGND: {
        auto dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        if (!form_.picture().empty()) {
            const SIZE natural = pictures::naturalSize(form_.picture());
            pictures::draw(dc, form_.picture(), RECT{0, 0, pixels(natural.cx * 15), pixels(natural.cy * 15)});
        }
        return 1;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        relayout();
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    }
    case WM_ACTIVATE:
        // The focus comes back to the model's focused control when the window is activated.
        if (LOWORD(wParam) != WA_INACTIVE) {
            applyFocus();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace brenvik
