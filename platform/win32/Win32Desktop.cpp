#include "platform/win32/Win32Desktop.h"

#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/win32/Win32ControlView.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

namespace brenvik {

namespace {

// The box's buttons by their answer, in Italian whatever the system's language.
HHOOK boxHook = nullptr;

LRESULT CALLBACK renameBoxButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wParam);
        static const std::pair<int, const wchar_t*> captions[] = {
            {IDOK, L"OK"},         {IDCANCEL, L"Annulla"}, {IDABORT, L"Interrompi"},
            {IDRETRY, L"Riprova"}, {IDIGNORE, L"Ignora"},  {IDYES, L"S\u00ec"},
            {IDNO, L"No"},
        };
        for (const auto& [id, caption] : captions)
            if (HWND button = GetDlgItem(box, id))
                SetWindowTextW(button, caption);
        // Only the box's own first activation: the hook goes before anything else is activated.
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

namespace {
constexpr UINT WakeMessage = WM_APP + 1;
}

Win32Desktop::Win32Desktop(HINSTANCE instance) : instance_(instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = wakeProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BrenvikWake";
    RegisterClassW(&wc);
    wakeWindow_ = CreateWindowExW(0, L"BrenvikWake", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrW(wakeWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Desktop::~Win32Desktop() {
    if (wakeWindow_)
        DestroyWindow(wakeWindow_);
}

LRESULT CALLBACK Win32Desktop::wakeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Delivered by whichever loop runs, a message box's included.
    if (message == WakeMessage)
        if (auto* desktop = reinterpret_cast<Win32Desktop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            desktop->runPosted();
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Desktop::showProgress(int done, int total) {
    // On the button of the window behind all others: the main window, whatever is open over it.
    for (const auto& [form, view] : views_) {
        const auto& stack = form->platform().activeForms;
        if (!stack.empty() && stack.front() == form) {
            taskbar_.show(view->hwnd(), done, total);
            return;
        }
    }
}

void Win32Desktop::wake() {
    PostMessageW(wakeWindow_, WakeMessage, 0, 0);
}

void Win32Desktop::handleEventsUntil(const std::function<bool()>& done) {
    MSG msg;
    bool quit = false;
    int code = 0;
    while (!done()) {
        // A request to quit waits for the work: it is posted again once the work has ended.
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            code = static_cast<int>(msg.wParam);
            continue;
        }
        handle(msg);
        // The work's wakes are posted messages, which the system hands out before the user's
        // input, the paints and the timers: a busy work would keep those waiting. After each
        // message, what waits of them has its turn.
        static constexpr UINT kinds[] = {PM_QS_INPUT, PM_QS_PAINT};
        for (const UINT kind : kinds)
            for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | kind); ++i)
                handle(msg);
        for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i)
            handle(msg);
    }
    if (quit)
        PostQuitMessage(code);
}

HWND Win32Desktop::frontWindow() const {
    // The modal window on top, else the main window.
    for (auto it = modals_.rbegin(); it != modals_.rend(); ++it)
        if (Win32FormView* view = existingView(*it->form))
            return view->hwnd();
    for (const auto& [form, view] : views_)
        if (IsWindowVisible(view->hwnd()) && IsWindowEnabled(view->hwnd()))
            return view->hwnd();
    return nullptr;
}

int Win32Desktop::messageBox(const std::string& text, int flags, const std::string& title) {
    // The flags are the system's own encoding of button sets and icons.
    boxHook = SetWindowsHookExW(WH_CBT, renameBoxButtons, nullptr, GetCurrentThreadId());
    HWND owner = frontWindow();
    const int answer = MessageBoxW(owner, win::widenShown(text).c_str(), win::widenShown(title).c_str(),
                                   static_cast<UINT>(flags & (mb::ButtonsMask | mb::IconMask)) |
                                       (owner ? MB_APPLMODAL : MB_TASKMODAL) | MB_SETFOREGROUND);
    if (boxHook) {
        UnhookWindowsHookEx(boxHook);
        boxHook = nullptr;
    }
    return answer;
}

Win32FormView& Win32Desktop::view(Form& form) {
    if (Win32FormView* existing = existingView(form))
        return *existing;
    HWND owner = frontWindow();
    auto& slot = views_[&form];
    slot = std::make_unique<Win32FormView>(form, instance_, owner);
    return *slot;
}

Win32FormView* Win32Desktop::existingView(const Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

void Win32Desktop::formShown(Form& form) {
    const bool wasVisible = existingView(form) && IsWindowVisible(existingView(form)->hwnd());
    HWND front = frontWindow();
    Win32FormView& window = view(form);
    // The windows opened from another one are modal: every other window of the program is
    // disabled until this one goes. The first one (the main window) is not.
    if (!wasVisible && !form.platform().activeForms.empty()) {
        Modal modal{&form, {}};
        for (const auto& [other, otherView] : views_)
            if (other != &form && IsWindowEnabled(otherView->hwnd())) {
                EnableWindow(otherView->hwnd(), FALSE);
                modal.disabled.push_back(otherView->hwnd());
            }
        if (front && front != window.hwnd())
            window.setOwner(front);
        modals_.push_back(std::move(modal));
    }
    window.present();
}

void Win32Desktop::formHidden(Form& form) {
    leave(form);
}

void Win32Desktop::formUnloaded(Form& form) {
    leave(form);
}

void Win32Desktop::leave(Form& form) {
    for (auto it = modals_.begin(); it != modals_.end(); ++it)
        if (it->form == &form) {
            // The windows behind come back before this one hides, so that the system activates
            // the one behind it rather than another program's.
            for (HWND hwnd : it->disabled)
                EnableWindow(hwnd, TRUE);
            modals_.erase(it);
            break;
        }
    if (Win32FormView* window = existingView(form)) {
        window->hide();
        if (HWND front = frontWindow())
            SetActiveWindow(front);
        // Wakes the loop of this window, which sees it is no longer visible.
        PostMessageW(window->hwnd(), WM_NULL, 0, 0);
    }
}

namespace {

// The keys and clicks a control takes as input. The system's own keys (Alt with a letter, Alt+F4)
// and the pointer's moves are not among them: they reach the window and its menu as always.
bool isInput(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_DEADCHAR ||
           (message >= WM_LBUTTONDOWN && message <= WM_MOUSELAST);
}

// The control a window of the program belongs to: itself, or one of its own child windows.
Win32ControlView* controlOf(HWND hwnd) {
    for (HWND h = hwnd; h; h = GetParent(h))
        if (Win32ControlView* view = Win32ControlView::of(h))
            return view;
    return nullptr;
}

} // namespace

bool Win32Desktop::handle(const MSG& msg) {
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    // While work runs aside the windows open then take input only on the controls that answer
    // while busy; everything else (painting, moving, minimising, closing) goes on as always.
    if (isInput(msg.message))
        if (Win32ControlView* view = controlOf(msg.hwnd); view && !view->control().reachable())
            return true;
    // Tab follows each window's own tab order, which is not the order the controls are stacked in.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        for (const auto& [form, view] : views_)
            if (view->hwnd() == top) {
                view->tab(GetKeyState(VK_SHIFT) < 0);
                return true;
            }
    }
    // Enter presses the push button that has the focus, as Space does, as in the system's own
    // dialogs (these windows are not dialogs, where the system would do it).
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0) {
        Win32ControlView* view = Win32ControlView::of(msg.hwnd);
        if (view && view->control().kind() == ControlKind::CommandButton && IsWindowEnabled(msg.hwnd)) {
            SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    // Windows handles access keys only in dialogs; these windows are not.
    if (msg.message == WM_SYSCHAR) {
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        for (const auto& [form, view] : views_)
            if (view->hwnd() == top && view->accessKey(static_cast<wchar_t>(msg.wParam)))
                return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void Win32Desktop::runModal(Form& form) {
    MSG msg;
    while (form.visible()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 1);
            return;
        }
        if (!handle(msg))
            return;
    }
}

void Win32Desktop::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        handle(msg);
}

void Win32Desktop::yield() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!handle(msg))
            break;
    // Paints what that brought (a window just shown gets its first paint).
    paintPending();
}

void Win32Desktop::paintPending() {
    // Looking at the queue, and taking nothing off it, tells the system the program is alive: a
    // window that paints through a long flush is not drawn as hung.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
    for (const auto& [form, view] : views_)
        view->releaseHeld();
    for (const auto& [form, view] : views_)
        if (IsWindowVisible(view->hwnd()))
            RedrawWindow(view->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32Desktop::pause(int milliseconds) {
    if (milliseconds > 0)
        Sleep(static_cast<DWORD>(milliseconds));
}

void Win32Desktop::pauseAnswering(int milliseconds) {
    // Everything but the user's input, which stays queued for after the pause, as it would through
    // a plain one: the keys, the clicks, and a button's click sent by a program (BM_CLICK), which
    // is how assistive tools press one.
    static constexpr std::pair<UINT, UINT> ranges[] = {
        {0, BM_CLICK - 1},
        {BM_CLICK + 1, WM_KEYFIRST - 1},
        {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
        {WM_MOUSELAST + 1, UINT_MAX},
    };
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, milliseconds));
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        bool handled = false;
        MSG msg;
        for (const auto& [first, last] : ranges)
            while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
                handled = true;
                if (!handle(msg))
                    return;
            }
        // What woke the wait stays queued: a moment before looking again, not a spin.
        if (!handled)
            Sleep(5);
    }
}

void Win32Desktop::beep() {
    MessageBeep(MB_OK);
}

void Win32Desktop::endProgram() {
    // The end is immediate by design: no window's closing events may run (they would ask the exit
    // question again or save again), and nothing needs saving, since the settings store writes
    // every value through as it is saved. Only the standard streams need flushing first.
    std::fflush(nullptr);
    ExitProcess(0);
}

} // namespace brenvik
