#include "platform/win32/Win32TextBoxView.h"

#include "platform/Controls.h"

#include <string>

namespace brenvik {

namespace {

DWORD editStyle(bool multiLine) {
    return WS_TABSTOP | (multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL);
}

int shiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

} // namespace

Win32TextBoxView::Win32TextBoxView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, L"EDIT", editStyle(static_cast<TextBox&>(control).multiLine()),
                       WS_EX_CLIENTEDGE),
      box_(static_cast<TextBox&>(control)) {}

int Win32TextBoxView::selectionStart() const {
    DWORD start = 0;
    SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void Win32TextBoxView::onCommand(int code) {
    if (code != EN_CHANGE || box_.watchesKeys())
        return;
    const std::string typed = win::narrow(text());
    const int start = selectionStart();
    user([this, typed, start] {
        box_.userEdit(typed);
        box_.setSelStart(start);
    });
}

HBRUSH Win32TextBoxView::background(HDC dc) {
    // A disabled box shows the face colour, as the system draws it.
    if (!IsWindowEnabled(hwnd()))
        return Win32ControlView::background(dc);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

bool Win32TextBoxView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool watching = box_.watchesKeys();
    switch (message) {
    case WM_LBUTTONUP:
        // The edit control places its caret on the button's release first: the click is there.
        return clickOnRelease(message, wParam, lParam, result, [this] { box_.setSelStart(selectionStart()); });
    case WM_KEYDOWN:
        result = 0;
        return keyDown(wParam);
    case WM_CHAR:
    case WM_KEYUP:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_CONTEXTMENU:
    case WM_MBUTTONDOWN:
    case WM_IME_CHAR:
        // The window's logic does all the editing of a box that watches its keys.
        result = 0;
        return watching && !(message == WM_CHAR && wParam == L'\t');
    case WM_GETDLGCODE:
        result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        return watching;
    default:
        return false;
    }
}

bool Win32TextBoxView::keyDown(WPARAM key) {
    if (!box_.watchesKeys() || key == VK_TAB)
        return false;
    // The character the key types was queued when the key was translated: taken here, so that
    // the control never edits the text behind the model's back.
    std::string typed;
    MSG next;
    while (PeekMessageW(&next, hwnd(), WM_CHAR, WM_CHAR, PM_REMOVE))
        if (next.wParam >= 0x20 && next.wParam != 0x7F)
            typed += win::narrow(std::wstring(1, static_cast<wchar_t>(next.wParam)));
    const int code = static_cast<int>(key);
    const int shift = shiftState();
    user([this, code, typed, shift] { box_.userKey(code, typed, shift); });
    return true;
}

void Win32TextBoxView::applyText() {
    const std::wstring shown = win::widenShown(box_.text());
    SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(box_.editLimit(static_cast<int>(shown.size()))), 0);
    if (text() != shown) {
        SetWindowTextW(hwnd(), shown.c_str());
        applyCaret();
    }
}

void Win32TextBoxView::applyLocked() {
    // A box whose keys the model handles stays editable for the system so that its caret shows;
    // every key goes to the model, which knows whether the box is locked.
    SendMessageW(hwnd(), EM_SETREADONLY, box_.locked() && !box_.watchesKeys(), 0);
}

void Win32TextBoxView::applyCaret() {
    const int position = box_.selStart();
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (static_cast<int>(start) != position || start != end)
        SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(position), position);
}

} // namespace brenvik
