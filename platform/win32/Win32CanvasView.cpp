#include "platform/win32/Win32CanvasView.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Win32FormView.h"

namespace brenvik {

namespace {

constexpr const wchar_t* CanvasClass = L"BrenvikCanvas";

// The canvas window class, registered on first use.
const wchar_t* canvasClass(HWND parent, WNDPROC proc) {
    static bool done = false;
    if (!done) {
        done = true;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = proc;
        wc.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = CanvasClass;
        RegisterClassExW(&wc);
    }
    return CanvasClass;
}

} // namespace

Win32CanvasView::Win32CanvasView(Control& control, Win32FormView& window, HWND parent, int id)
    : Win32ControlView(control, window, parent, id, canvasClass(parent, canvasProc), 0, 0) {
    if (control.kind() == ControlKind::Shape)
        shape_ = static_cast<Shape*>(&control);
    else if (control.kind() == ControlKind::Image)
        image_ = static_cast<Image*>(&control);
    else
        box_ = static_cast<PictureBox*>(&control);
    SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK Win32CanvasView::canvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<Win32CanvasView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (view)
            view->paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool Win32CanvasView::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return clickOnRelease(message, wParam, lParam, result);
}

void Win32CanvasView::place(RECT& r) {
    if (!image_)
        return;
    // An image that is not stretched takes its picture's size.
    const SIZE natural = pictures::naturalSize(image_->picture());
    r = toRect(placeImage(toPixelRect(r), window().pixels(natural.cx * 15), window().pixels(natural.cy * 15)));
}

void Win32CanvasView::paint(HDC dc) {
    RECT r;
    GetClientRect(hwnd(), &r);
    if (r.right <= 0 || r.bottom <= 0)
        return;
    if (shape_) {
        HBRUSH fill = CreateSolidBrush(toColorRef(shape_->fillColor()));
        FillRect(dc, &r, fill);
        DeleteObject(fill);
        HBRUSH border = CreateSolidBrush(toColorRef(shape_->borderColor()));
        FrameRect(dc, &r, border);
        DeleteObject(border);
    } else if (image_) {
        const SIZE natural = pictures::naturalSize(image_->picture());
        pictures::draw(dc, image_->picture(),
                       RECT{0, 0, window().pixels(natural.cx * 15), window().pixels(natural.cy * 15)});
        if (image_->bordered())
            FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        // A sunken single border, as a picture box has by default.
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        HGDIOBJ old = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, toColorRef(box_->foreColor()));
        RECT text{1, 1, r.right - 1, r.bottom - 1};
        const std::wstring drawn = win::widenShown(box_->drawnText());
        DrawTextW(dc, drawn.c_str(), -1, &text, DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
    }
}

} // namespace brenvik
