#include "platform/win32/Win32ControlView.h"

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/UserAction.h"
#include "platform/win32/Fonts.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Win32FormView.h"

#include <algorithm>
#include <commctrl.h>
#include <string>
#include <vector>
#include <windowsx.h>

namespace brenvik {

namespace {

using win::narrow;
using win::widen;

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

COLORREF rgb(Color c) {
    return RGB(c.r, c.g, c.b);
}

constexpr const wchar_t* CanvasClass = L"BrenvikCanvas";
constexpr const wchar_t* ViewProperty = L"BrenvikView";
constexpr UINT_PTR SubclassId = 1;

void registerCanvas(HINSTANCE instance, WNDPROC proc) {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = CanvasClass;
    RegisterClassExW(&wc);
}

// The text width and height of a caption in a font, lines split at CR LF.
SIZE textExtent(HWND hwnd, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    if (text.empty()) {
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        r.bottom = tm.tmHeight;
    } else {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int lineHeight(HWND hwnd, HFONT font) {
    return textExtent(hwnd, font, L"").cy;
}

int wrappedHeight(HWND hwnd, HFONT font, const std::wstring& text, int width) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return r.bottom - r.top;
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

} // namespace

Win32ControlView::Win32ControlView(Control& control, Win32FormView& window, HWND parent, int id)
    : control_(control), window_(window) {
    create(parent, id);
    SetPropW(hwnd_, ViewProperty, this);
    SetWindowSubclass(hwnd_, subclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    ++applying_;
    applyAll();
    --applying_;
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
    if (backBrush_)
        DeleteObject(backBrush_);
}

Win32ControlView* Win32ControlView::of(HWND hwnd) {
    return hwnd ? static_cast<Win32ControlView*>(GetPropW(hwnd, ViewProperty)) : nullptr;
}

void Win32ControlView::create(HWND parent, int id) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | (behindSeeThrough(control_) ? 0 : WS_CLIPSIBLINGS);
    // A see-through control is painted after the controls behind it.
    DWORD ex = seeThrough(control_) ? WS_EX_TRANSPARENT : 0;
    switch (control_.kind()) {
    case ControlKind::Frame:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        ex |= WS_EX_CONTROLPARENT;
        break;
    case ControlKind::Label:
        style |= SS_NOPREFIX | SS_NOTIFY;
        break;
    case ControlKind::TextBox: {
        cls = L"EDIT";
        ex |= WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP;
        if (static_cast<TextBox&>(control_).multiLine())
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
        else
            style |= ES_AUTOHSCROLL;
        break;
    }
    case ControlKind::OptionButton:
        // Not an automatic radio button: the model keeps option buttons exclusive.
        cls = L"BUTTON";
        style |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
    case ControlKind::CheckBox:
        cls = L"BUTTON";
        style |= BS_CHECKBOX | WS_TABSTOP;
        break;
    case ControlKind::VScrollBar:
        cls = L"SCROLLBAR";
        style |= SBS_VERT | WS_TABSTOP;
        break;
    case ControlKind::CommandButton:
        cls = L"BUTTON";
        style |= WS_TABSTOP | (static_cast<CommandButton&>(control_).picture().empty() ? BS_PUSHBUTTON : BS_OWNERDRAW);
        break;
    case ControlKind::Shape:
    case ControlKind::Image:
    case ControlKind::PictureBox:
        registerCanvas(instance, canvasProc);
        cls = CanvasClass;
        break;
    case ControlKind::DriveList:
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
    case ControlKind::DirList:
        cls = L"LISTBOX";
        ex |= WS_EX_CLIENTEDGE;
        style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        break;
    case ControlKind::FileList:
        cls = L"LISTBOX";
        ex |= WS_EX_CLIENTEDGE;
        style |= LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        if (static_cast<FileList&>(control_).multiSelect())
            style |= LBS_MULTIPLESEL;
        break;
    }
    hwnd_ = CreateWindowExW(ex, cls, L"", style, 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            instance, nullptr);
    if (control_.kind() == ControlKind::Shape || control_.kind() == ControlKind::Image ||
        control_.kind() == ControlKind::PictureBox)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HFONT Win32ControlView::font() const {
    return font_;
}

void Win32ControlView::changed(Property what) {
    // What the view sets on its window must not come back to the model as the user's doing.
    ++applying_;
    PropertyView::changed(what);
    --applying_;
}

void Win32ControlView::applyToolTip() {
    window_.setToolTip(hwnd_, win::widenShown(control_.toolTip()));
}

void Win32ControlView::applyPicture() {
    // A picture drawn at its natural size may make the control larger.
    applyGeometry();
}

void Win32ControlView::applyDrawing() {
    repaint(nullptr);
}

void Win32ControlView::rescale() {
    ++applying_;
    applyLook();
    applyItems();
    --applying_;
}

void Win32ControlView::user(const std::function<void()>& action) {
    runUserAction(control_.form().platform(), action);
    resync();
}

void Win32ControlView::resync() {
    // A window unloaded by the action is back in its design state, which its views already show;
    // reading it now would load it again.
    const Form& form = control_.form();
    if (!form.loaded() || form.designing())
        return;
    ++applying_;
    applyValue();
    applySelection();
    applyText();
    applyCaret();
    --applying_;
}

void Win32ControlView::applyGeometry() {
    const Geometry g = control_.geometry();
    RECT r{window_.pixels(g.left), window_.pixels(g.top), window_.pixels(g.left + g.width),
           window_.pixels(g.top + g.height)};
    const std::wstring caption = win::widenShown(control_.caption());
    switch (control_.kind()) {
    case ControlKind::Label: {
        auto& label = static_cast<Label&>(control_);
        const SIZE text = textExtent(hwnd_, font_, caption);
        const int line = lineHeight(hwnd_, font_);
        if (label.autoSize()) {
            r.right = r.left + (caption.empty() ? 0 : text.cx + 1);
            r.bottom = std::max(r.bottom, r.top + text.cy);
        } else if (r.bottom - r.top < 2 * line) {
            // A one-line label: the system's font may be wider than the one it was laid out for,
            // so it grows rather than wraps or cuts its text.
            const int extra = text.cx + 1 - (r.right - r.left);
            if (extra > 0) {
                if (label.alignment() == Align::Center) {
                    r.left -= extra / 2;
                    r.right += extra - extra / 2;
                } else if (label.alignment() == Align::Right) {
                    r.left -= extra;
                } else {
                    r.right += extra;
                }
            }
            r.bottom = std::max(r.bottom, r.top + line);
        } else if (label.wordWrap()) {
            r.bottom = std::max(r.bottom, r.top + wrappedHeight(hwnd_, font_, caption, r.right - r.left));
        }
        break;
    }
    case ControlKind::OptionButton:
    case ControlKind::CheckBox: {
        // The indicator and the text side by side, never cut: the button grows about its middle.
        const UINT dpi = window_.dpi();
        const int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
        const SIZE text = textExtent(hwnd_, font_, caption);
        r.right = std::max(r.right, r.left + box + MulDiv(6, static_cast<int>(dpi), 96) + text.cx);
        const int extra = std::max(box, static_cast<int>(text.cy)) + 2 - (r.bottom - r.top);
        if (extra > 0) {
            r.top -= extra / 2;
            r.bottom += extra - extra / 2;
        }
        break;
    }
    case ControlKind::Image: {
        // An image that is not stretched takes its picture's size.
        const SIZE natural = pictures::naturalSize(static_cast<Image&>(control_).picture());
        r.right = std::max(r.right, r.left + window_.pixels(natural.cx * 15));
        r.bottom = std::max(r.bottom, r.top + window_.pixels(natural.cy * 15));
        break;
    }
    case ControlKind::DriveList:
        // A drop-down list's window includes the list it drops.
        r.bottom = r.top + window_.pixels(g.height) + MulDiv(160, static_cast<int>(window_.dpi()), 96);
        break;
    default:
        break;
    }
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

void Win32ControlView::applyCaption() {
    switch (control_.kind()) {
    case ControlKind::Frame:
    case ControlKind::Label:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
        if (windowText(hwnd_) != win::widenShown(control_.caption())) {
            SetWindowTextW(hwnd_, win::widenShown(control_.caption()).c_str());
            if (control_.kind() == ControlKind::Label || control_.kind() == ControlKind::OptionButton ||
                control_.kind() == ControlKind::CheckBox)
                applyGeometry();
            else
                repaint(nullptr);
        }
        break;
    default:
        break;
    }
}

void Win32ControlView::applyText() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    auto& box = static_cast<TextBox&>(control_);
    const std::wstring text = win::widenShown(box.text());
    // Typing is limited by the model where it watches the keys; the control's own limit never cuts
    // a longer text set from code.
    const int limit = box.watchesKeys() || box.maxLength() == 0 ? 32767 : box.maxLength();
    SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(limit, static_cast<int>(text.size()))), 0);
    if (windowText(hwnd_) != text) {
        SetWindowTextW(hwnd_, text.c_str());
        applyCaret();
    }
}

void Win32ControlView::applyEnabled() {
    EnableWindow(hwnd_, control_.enabled());
}

void Win32ControlView::applyVisible() {
    ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32ControlView::applyValue() {
    switch (control_.kind()) {
    case ControlKind::OptionButton:
        SendMessageW(hwnd_, BM_SETCHECK, static_cast<OptionButton&>(control_).value() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::CheckBox:
        SendMessageW(hwnd_, BM_SETCHECK, static_cast<CheckBox&>(control_).value() ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::VScrollBar: {
        auto& bar = static_cast<VScrollBar&>(control_);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = bar.min();
        info.nMax = bar.max();
        info.nPos = bar.value();
        SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
        break;
    }
    case ControlKind::DriveList: {
        const int index = static_cast<DriveList&>(control_).currentIndex();
        SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        break;
    }
    default:
        break;
    }
}

void Win32ControlView::applyLocked() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    auto& box = static_cast<TextBox&>(control_);
    // A box whose keys the model handles stays editable for the system so that its caret shows;
    // every key goes to the model, which knows whether the box is locked.
    SendMessageW(hwnd_, EM_SETREADONLY, box.locked() && !box.watchesKeys(), 0);
}

void Win32ControlView::applyCaret() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    const int position = static_cast<TextBox&>(control_).selStart();
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (static_cast<int>(start) != position || start != end)
        SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(position), position);
}

void Win32ControlView::applyItems() {
    switch (control_.kind()) {
    case ControlKind::DriveList:
        SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : static_cast<DriveList&>(control_).entries())
            SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(entry).c_str()));
        applyValue();
        break;
    case ControlKind::DirList: {
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
        const int icon = MulDiv(16, static_cast<int>(window_.dpi()), 96);
        SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, std::max(icon, lineHeight(hwnd_, font_)) + 2);
        for (const DirList::Entry& entry : static_cast<DirList&>(control_).entries())
            SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(entry.label).c_str()));
        applySelection();
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    }
    case ControlKind::FileList:
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : static_cast<FileList&>(control_).items())
            SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::widenShown(name).c_str()));
        applySelection();
        SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    default:
        break;
    }
}

void Win32ControlView::applySelection() {
    switch (control_.kind()) {
    case ControlKind::DirList: {
        auto& dirs = static_cast<DirList&>(control_);
        SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(dirs.shownIndex()), 0);
        break;
    }
    case ControlKind::FileList: {
        auto& files = static_cast<FileList&>(control_);
        const int count = std::min(files.count(), static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)));
        const int current = files.listIndex();
        if (files.multiSelect()) {
            for (int i = 0; i < count; ++i)
                if ((SendMessageW(hwnd_, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) != files.selected(i))
                    SendMessageW(hwnd_, LB_SETSEL, files.selected(i), i);
            if (current >= 0 && current < count)
                SendMessageW(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(current), TRUE);
        } else {
            int selected = -1;
            for (int i = 0; i < count; ++i)
                if (files.selected(i))
                    selected = i;
            if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != selected)
                SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        }
        break;
    }
    default:
        break;
    }
}

void Win32ControlView::applyLook() {
    if (font_)
        DeleteObject(font_);
    font_ = win32fonts::create(control_.font(), window_.dpi());
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (backBrush_) {
        DeleteObject(backBrush_);
        backBrush_ = nullptr;
    }
    if (control_.hasBackColor())
        backBrush_ = CreateSolidBrush(rgb(control_.backColor()));
    if (control_.kind() == ControlKind::Label) {
        auto& label = static_cast<Label&>(control_);
        LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
        switch (label.alignment()) {
        case Align::Center:
            style |= SS_CENTER;
            break;
        case Align::Right:
            style |= SS_RIGHT;
            break;
        default:
            style |= label.wordWrap() && !label.autoSize() ? SS_LEFT : SS_LEFTNOWORDWRAP;
            break;
        }
        SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    }
    applyGeometry();
}

// ---- What the native control reports to its parent.

void Win32ControlView::command(int code) {
    if (applying_)
        return;
    switch (control_.kind()) {
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
        if (code == BN_CLICKED)
            user([this] { control_.userClick(); });
        break;
    case ControlKind::TextBox:
        if (code == EN_CHANGE && !static_cast<TextBox&>(control_).watchesKeys()) {
            auto& box = static_cast<TextBox&>(control_);
            const std::string text = narrow(windowText(hwnd_));
            DWORD start = 0;
            SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            user([&box, text, start] {
                box.userEdit(text);
                box.setSelStart(static_cast<int>(start));
            });
        }
        break;
    case ControlKind::DriveList: {
        const bool dropped = SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
        // While the list is dropped, moving through it is not choosing yet.
        if ((code == CBN_SELCHANGE && !dropped) || code == CBN_SELENDOK) {
            const int index = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
            auto& drives = static_cast<DriveList&>(control_);
            if (index >= 0 && index != drives.currentIndex())
                user([&drives, index] { drives.userChoose(index); });
        } else if (code == CBN_SELENDCANCEL || code == CBN_CLOSEUP) {
            ++applying_;
            applyValue();
            --applying_;
        }
        break;
    }
    case ControlKind::DirList: {
        auto& dirs = static_cast<DirList&>(control_);
        const int index = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
        if (index < 0)
            break;
        if (code == LBN_SELCHANGE) {
            pressChangedList_ = true;
            user([&dirs, index] { dirs.userHighlight(index); });
        } else if (code == LBN_DBLCLK) {
            user([&dirs, index] { dirs.userOpen(index); });
        }
        break;
    }
    case ControlKind::FileList:
        if (code == LBN_SELCHANGE) {
            pressChangedList_ = true;
            reportFileSelection();
        }
        break;
    default:
        break;
    }
}

void Win32ControlView::reportFileSelection() {
    auto& files = static_cast<FileList&>(control_);
    const int count = static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
    std::vector<bool> selection(static_cast<size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i)
        selection[static_cast<size_t>(i)] = SendMessageW(hwnd_, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
    const int current =
        static_cast<int>(SendMessageW(hwnd_, files.multiSelect() ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
    user([&files, selection, current] { files.userSelect(selection, current); });
}

void Win32ControlView::scroll(int code) {
    if (applying_ || control_.kind() != ControlKind::VScrollBar)
        return;
    auto& bar = static_cast<VScrollBar&>(control_);
    switch (code) {
    case SB_LINEDOWN:
        user([&bar] { bar.userLineDown(); });
        break;
    case SB_LINEUP:
        user([&bar] { bar.userLineUp(); });
        break;
    case SB_PAGEDOWN:
        user([&bar] { bar.userPageDown(); });
        break;
    case SB_PAGEUP:
        user([&bar] { bar.userPageUp(); });
        break;
    default:
        // The model moves the value; a dragged thumb goes back where the model has it.
        ++applying_;
        applyValue();
        --applying_;
        break;
    }
}

bool Win32ControlView::drawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const int dpi = static_cast<int>(window_.dpi());
    if (control_.kind() == ControlKind::CommandButton) {
        // A graphical button: its picture above its caption.
        RECT r = item.rcItem;
        const bool pushed = (item.itemState & ODS_SELECTED) != 0;
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        const int side = MulDiv(32, dpi, 96);
        const int shift = pushed ? 1 : 0;
        const int gap = MulDiv(4, dpi, 96);
        RECT picture{(r.left + r.right - side) / 2 + shift, r.top + gap + shift, 0, 0};
        picture.right = picture.left + side;
        picture.bottom = picture.top + side;
        pictures::draw(dc, static_cast<CommandButton&>(control_).picture(), picture);
        RECT text{r.left + gap + shift, picture.bottom + shift, r.right - gap + shift, r.bottom - gap + shift};
        const std::wstring caption = win::widenShown(control_.caption());
        HGDIOBJ old = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        if (item.itemState & ODS_DISABLED) {
            RECT light = text;
            OffsetRect(&light, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            DrawTextW(dc, caption.c_str(), -1, &light, DT_CENTER | DT_WORDBREAK);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        } else {
            SetTextColor(dc, rgb(control_.foreColor()));
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
    if (control_.kind() == ControlKind::DirList) {
        const auto& entries = static_cast<DirList&>(control_).entries();
        if (item.itemID >= entries.size())
            return true;
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
    return false;
}

HBRUSH Win32ControlView::color(HDC dc) {
    SetTextColor(dc, rgb(control_.foreColor()));
    if (control_.kind() == ControlKind::Label && static_cast<Label&>(control_).transparent()) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    if (backBrush_) {
        SetBkColor(dc, rgb(control_.backColor()));
        return backBrush_;
    }
    const bool field = control_.kind() == ControlKind::TextBox || control_.kind() == ControlKind::FileList ||
                       control_.kind() == ControlKind::DirList || control_.kind() == ControlKind::DriveList;
    if (field && !(control_.kind() == ControlKind::TextBox && !IsWindowEnabled(hwnd_))) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- What the native control receives itself.

bool Win32ControlView::keyDown(WPARAM key) {
    switch (control_.kind()) {
    case ControlKind::TextBox: {
        auto& box = static_cast<TextBox&>(control_);
        if (!box.watchesKeys() || key == VK_TAB)
            return false;
        // The character the key types was queued when the key was translated: taken here, so
        // that the control never edits the text behind the model's back.
        std::string typed;
        MSG next;
        while (PeekMessageW(&next, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE))
            if (next.wParam >= 0x20 && next.wParam != 0x7F)
                typed += narrow(std::wstring(1, static_cast<wchar_t>(next.wParam)));
        const int code = static_cast<int>(key);
        const int shift = shiftState();
        user([&box, code, typed, shift] { box.userKey(code, typed, shift); });
        return true;
    }
    case ControlKind::DirList:
        if (key == VK_RETURN) {
            const int index = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
            if (index >= 0) {
                auto& dirs = static_cast<DirList&>(control_);
                user([&dirs, index] { dirs.userOpen(index); });
            }
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT Win32ControlView::own(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    const bool watching = control_.kind() == ControlKind::TextBox && static_cast<TextBox&>(control_).watchesKeys();
    switch (message) {
    case WM_MOUSEMOVE:
        runUserAction(control_.form().platform(), [this] { control_.userMouseMove(); });
        break;
    case WM_NCHITTEST:
        // A group box lets the pointer through to its container; a frame is a control of its own.
        if (control_.kind() == ControlKind::Frame) {
            handled = true;
            return HTCLIENT;
        }
        break;
    case WM_ERASEBKGND:
        // A frame is opaque: one shown in front of another hides it and its contents completely
        // (a group box of its own is see-through).
        if (control_.kind() == ControlKind::Frame) {
            RECT client;
            GetClientRect(hwnd_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, backBrush_ ? backBrush_ : GetSysColorBrush(COLOR_BTNFACE));
            handled = true;
            return 1;
        }
        break;
    case WM_LBUTTONDOWN:
        pressChangedList_ = false;
        break;
    case WM_LBUTTONUP: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT client;
        GetClientRect(hwnd_, &client);
        if (!PtInRect(&client, at))
            break;
        switch (control_.kind()) {
        case ControlKind::Frame:
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::Shape:
        case ControlKind::PictureBox:
        case ControlKind::TextBox: {
            // The edit control places its caret on the button's release first.
            LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
            handled = true;
            DWORD start = 0;
            if (control_.kind() == ControlKind::TextBox)
                SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            user([this, start] {
                if (control_.kind() == ControlKind::TextBox)
                    static_cast<TextBox&>(control_).setSelStart(static_cast<int>(start));
                control_.userClick();
            });
            return result;
        }
        case ControlKind::FileList: {
            LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
            handled = true;
            const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lParam);
            const int index = LOWORD(hit);
            if (!pressChangedList_ && HIWORD(hit) == 0 && !static_cast<FileList&>(control_).multiSelect()) {
                auto& files = static_cast<FileList&>(control_);
                user([&files, index] { files.userClickItem(index); });
            }
            return result;
        }
        case ControlKind::DirList: {
            // The folder already highlighted sends no LBN_SELCHANGE; a click on it is still a click.
            LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
            handled = true;
            const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lParam);
            const int index = LOWORD(hit);
            if (!pressChangedList_ && HIWORD(hit) == 0) {
                auto& dirs = static_cast<DirList&>(control_);
                user([&dirs, index] { dirs.userHighlight(index); });
            }
            return result;
        }
        default:
            break;
        }
        break;
    }
    case WM_KEYDOWN:
        if (keyDown(wParam)) {
            handled = true;
            return 0;
        }
        break;
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
        if (watching && !(message == WM_CHAR && wParam == L'\t')) {
            handled = true;
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        if (watching) {
            handled = true;
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        }
        break;
    case WM_SETFOCUS:
        if (control_.focusable() && !applying_)
            runUserAction(control_.form().platform(), [this] { control_.setFocus(); });
        break;
    default:
        break;
    }
    // A frame holds controls: what they report to their parent goes to their views.
    if (control_.kind() == ControlKind::Frame) {
        LRESULT result = 0;
        if (Win32FormView::childMessage(message, wParam, lParam, result)) {
            handled = true;
            return result;
        }
    }
    return 0;
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

LRESULT CALLBACK Win32ControlView::canvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<Win32ControlView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (view)
            view->paintCanvas(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void Win32ControlView::paintCanvas(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    if (r.right <= 0 || r.bottom <= 0)
        return;
    switch (control_.kind()) {
    case ControlKind::Shape: {
        const auto& shape = static_cast<const Shape&>(control_);
        HBRUSH fill = CreateSolidBrush(rgb(shape.fillColor()));
        FillRect(dc, &r, fill);
        DeleteObject(fill);
        HBRUSH border = CreateSolidBrush(rgb(shape.borderColor()));
        FrameRect(dc, &r, border);
        DeleteObject(border);
        break;
    }
    case ControlKind::Image: {
        const auto& image = static_cast<const Image&>(control_);
        const SIZE natural = pictures::naturalSize(image.picture());
        pictures::draw(dc, image.picture(),
                       RECT{0, 0, window_.pixels(natural.cx * 15), window_.pixels(natural.cy * 15)});
        if (image.bordered())
            FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
        break;
    }
    case ControlKind::PictureBox: {
        const auto& box = static_cast<const PictureBox&>(control_);
        HBRUSH back = box.hasBackColor() ? backBrush_ : GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &r, back);
        // A sunken single border, as a picture box has by default.
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        HGDIOBJ old = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, rgb(box.foreColor()));
        RECT text{1, 1, r.right - 1, r.bottom - 1};
        const std::wstring drawn = win::widenShown(box.drawnText());
        DrawTextW(dc, drawn.c_str(), -1, &text, DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        break;
    }
    default:
        break;
    }
}

} // namespace brenvik
