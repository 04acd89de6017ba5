#pragma once

#include "platform/win32/Win32ControlView.h"

namespace brenvik {

class Image;
class PictureBox;
class Shape;

// The controls that draw themselves, in a window class of their own: a shape (a filled
// rectangle), an image (its picture at its natural size from the top-left corner, optionally
// framed by a single line; with no picture nothing is drawn, so what lies behind shows through)
// and a picture box (its drawn text from the top-left corner in a sunken border). A left-button
// release is the click.
class Win32CanvasView : public Win32ControlView {
public:
    Win32CanvasView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    static LRESULT CALLBACK canvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void place(RECT& r) override;
    void paint(HDC dc);

    // The one that the control is; the others are null.
    Shape* shape_ = nullptr;
    Image* image_ = nullptr;
    PictureBox* box_ = nullptr;
};

} // namespace brenvik
