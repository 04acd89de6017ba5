#pragma once

#include "platform/win32/Win32ControlView.h"

namespace brenvik {

class Label;

// The frames and labels: controls that show a caption and take no focus. A left-button release
// on one is its click.

// A frame: a group box that holds its controls' windows, opaque (one shown in front of another
// hides it and its contents) and a control of its own for the pointer.
class Win32FrameView : public Win32ControlView {
public:
    Win32FrameView(Control& control, Win32FormView& window, HWND parent, int id);
    ~Win32FrameView() override;
    Win32FrameView(const Win32FrameView&) = delete;
    Win32FrameView& operator=(const Win32FrameView&) = delete;

private:
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void applyCaption() override;
    void applyLook() override;
    void applyGeometry() override;
    // A caption laid out for another font may be wider than its frame in the system's: it is
    // drawn a little smaller rather than cut.
    void fitCaption();
    // The frame as the system's own dialogs draw a group box, in the theme where there is one,
    // its caption in the system's disabled colour whenever the frame is disabled: the system's
    // group box, and some themes, draw it in the text colour whatever its state.
    void paint(HDC dc);

    HFONT fitted_ = nullptr;
};

// A label: a static control showing its caption exactly as it is (file names may hold "&"),
// placed by placeLabel, so that no one-line caption the system's font makes wider is cut.
class Win32LabelView : public Win32ControlView {
public:
    Win32LabelView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    HBRUSH background(HDC dc) override;
    void place(RECT& r) override;
    bool holds(Property what) const override { return what == Property::Caption || Win32ControlView::holds(what); }
    void applyCaption() override;
    void applyLook() override;

    Label& label_;
};

} // namespace brenvik
