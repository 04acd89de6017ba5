#include "platform/win32/Win32ListViews.h"

#include "platform/Controls.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>
#include <commctrl.h>
#include <vector>

namespace brenvik {

namespace {

constexpr DWORD ListBoxStyle = LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

} // namespace

HBRUSH Win32ListView::background(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

bool Win32ListView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_LBUTTONDOWN) {
        pressChangedList_ = false;
        return false;
    }
    if (message != WM_LBUTTONUP || !inside(lParam))
        return false;
    // The list selects on the release first; the item already selected sends no change.
    result = DefSubclassProc(hwnd(), message, wParam, lParam);
    const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, lParam);
    if (!pressChangedList_ && HIWORD(hit) == 0)
        clickedItem(LOWORD(hit));
    return true;
}

// ---- Drive list

Win32DriveListView::Win32DriveListView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ListView(control, window, parent, id, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0),
      drives_(static_cast<DriveList&>(control)) {}

void Win32DriveListView::onCommand(int code) {
    const bool dropped = SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
    // While the list is dropped, moving through it is not choosing yet.
    if ((code == CBN_SELCHANGE && !dropped) || code == CBN_SELENDOK) {
        const int index = static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
        if (index >= 0 && index != drives_.currentIndex())
            user([this, index] { drives_.userChoose(index); });
    } else if (code == CBN_SELENDCANCEL || code == CBN_CLOSEUP) {
        const Applying guard = applying();
        applyValue();
    }
}

void Win32DriveListView::place(RECT& r) {
    // A drop-down list's window includes the list it drops.
    r.bottom = r.top + window().pixels(control().geometry().height) + MulDiv(160, static_cast<int>(window().dpi()), 96);
}

void Win32DriveListView::applyValue() {
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(drives_.currentIndex()), 0);
}

void Win32DriveListView::applyItems() {
    SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : drives_.entries())
        SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(entry).c_str()));
    applyValue();
}

// ---- Folder list

Win32DirListView::Win32DirListView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ListView(control, window, parent, id, L"LISTBOX", ListBoxStyle | LBS_OWNERDRAWFIXED, WS_EX_CLIENTEDGE),
      dirs_(static_cast<DirList&>(control)) {}

void Win32DirListView::onCommand(int code) {
    const int index = static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
    if (index < 0)
        return;
    if (code == LBN_SELCHANGE) {
        pressChangedList_ = true;
        user([this, index] { dirs_.userHighlight(index); });
    } else if (code == LBN_DBLCLK) {
        user([this, index] { dirs_.userOpen(index); });
    }
}

bool Win32DirListView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_KEYDOWN || wParam != VK_RETURN)
        return Win32ListView::message(message, wParam, lParam, result);
    const int index = static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
    if (index >= 0)
        user([this, index] { dirs_.userOpen(index); });
    result = 0;
    return true;
}

void Win32DirListView::clickedItem(int index) {
    // The folder already highlighted sends no LBN_SELCHANGE; a click on it is still a click.
    user([this, index] { dirs_.userHighlight(index); });
}

void Win32DirListView::applyItems() {
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
    const int icon = MulDiv(16, static_cast<int>(window().dpi()), 96);
    SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, std::max(icon, lineHeight()) + 2);
    for (const DirList::Entry& entry : dirs_.entries())
        SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(entry.label).c_str()));
    applySelection();
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32DirListView::applySelection() {
    SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(dirs_.shownIndex()), 0);
}

bool Win32DirListView::drawItem(const DRAWITEMSTRUCT& item) {
    const auto& entries = dirs_.entries();
    if (item.itemID >= entries.size())
        return true;
    HDC dc = item.hDC;
    const int dpi = static_cast<int>(window().dpi());
    const DirList::Entry& entry = entries[item.itemID];
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int side = MulDiv(16, dpi, 96);
    const int left = item.rcItem.left + MulDiv(2 + 10 * std::max(0, entry.level), dpi, 96);
    const int top = (item.rcItem.top + item.rcItem.bottom - side) / 2;
    pictures::draw(dc, entry.open ? "folder_open" : "folder_closed", RECT{left, top, left + side, top + side});
    RECT text = item.rcItem;
    text.left = left + side + MulDiv(4, dpi, 96);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring label = win::widenShown(entry.label);
    DrawTextW(dc, label.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
    return true;
}

// ---- File list

Win32FileListView::Win32FileListView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ListView(control, window, parent, id, L"LISTBOX",
                    ListBoxStyle | (static_cast<FileList&>(control).multiSelect() ? LBS_MULTIPLESEL : 0),
                    WS_EX_CLIENTEDGE),
      files_(static_cast<FileList&>(control)) {}

void Win32FileListView::onCommand(int code) {
    if (code == LBN_SELCHANGE) {
        pressChangedList_ = true;
        reportSelection();
    }
}

void Win32FileListView::clickedItem(int index) {
    if (!files_.multiSelect())
        user([this, index] { files_.userClickItem(index); });
}

void Win32FileListView::reportSelection() {
    const int count = static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
    std::vector<bool> selection(static_cast<size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i)
        selection[static_cast<size_t>(i)] = SendMessageW(hwnd(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
    const int current =
        static_cast<int>(SendMessageW(hwnd(), files_.multiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
    shown_ = selection;
    shownCaret_ = current;
    user([this, selection, current] { files_.userSelect(selection, current); });
}

void Win32FileListView::applyItems() {
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::string& name : files_.items())
        SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(name).c_str()));
    shown_.assign(files_.items().size(), false);
    shownCaret_ = files_.multiSelect() ? 0 : -1;
    applySelection();
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Win32FileListView::applySelection() {
    const int count = std::min(files_.count(), static_cast<int>(shown_.size()));
    int selected = -1;
    std::vector<int> changed;
    for (int i = 0; i < count; ++i) {
        const bool now = files_.selected(i);
        if (now)
            selected = i;
        if (files_.multiSelect() && shown_[static_cast<size_t>(i)] != now)
            changed.push_back(i);
    }
    // A multiple-selection box has a caret of its own; a single-selection one's is the item picked.
    const int caret = files_.multiSelect() ? files_.listIndex() : selected;
    const bool caretMoves = caret != shownCaret_ && (!files_.multiSelect() || (caret >= 0 && caret < count));
    if (changed.empty() && !caretMoves)
        return;
    // Drawn once, with everything: a box draws each item it is told to select as it is told.
    SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
    for (int i : changed) {
        SendMessageW(hwnd(), LB_SETSEL, files_.selected(i), i);
        shown_[static_cast<size_t>(i)] = files_.selected(i);
    }
    if (caretMoves) {
        if (files_.multiSelect())
            SendMessageW(hwnd(), LB_SETCARETINDEX, static_cast<WPARAM>(caret), TRUE);
        else
            SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(caret), 0);
        shownCaret_ = caret;
    }
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

} // namespace brenvik
