#pragma once

#include "platform/PropertyView.h"
#include "platform/windows/Win32.h"

#include <functional>

namespace brenvik {

class Win32FormView;

// The native control of one Control, built from the control model alone: a frame is a group box,
// a label a static control, a text box an edit control, the buttons BUTTON controls (a graphical
// one draws its picture above its caption), the scroll bar a SCROLLBAR, the drive list a
// drop-down combo box, the folder list an owner-drawn list box with the open-folder levels
// indented, the file lists list boxes, and shapes, images and picture boxes draw themselves.
// Every control's id is 1000 plus its position in Form::controls(), so that a window's
// controls can be found from outside by their names.
//
// The view mirrors the control: model changes are applied to the control, and what the native
// control reports back while they are applied is ignored. The user's actions go to the model only
// through its user methods and setters (userClick, userKey, userEdit, userSelect ...); after each,
// the native control is brought back in step with the model, which may have refused or changed
// what the user did.
class Win32ControlView : public PropertyView {
public:
    Win32ControlView(Control& control, Win32FormView& window, HWND parent, int id);
    ~Win32ControlView() override;
    Win32ControlView(const Win32ControlView&) = delete;
    Win32ControlView& operator=(const Win32ControlView&) = delete;

    Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }

    void changed(Property what) override;
    // The window's DPI changed: fonts and geometry again.
    void rescale();

    // The view of a native control made by this layer, or null.
    static Win32ControlView* of(HWND hwnd);

    // What the native control sends to its parent.
    void command(int code);
    void scroll(int code);
    bool drawItem(const DRAWITEMSTRUCT& item);
    HBRUSH color(HDC dc);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    static LRESULT CALLBACK canvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT own(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void create(HWND parent, int id);
    void user(const std::function<void()>& action);
    void resync();
    void paintCanvas(HDC dc);
    // Draws the control again; `old` is where it stood before a move, in its container.
    void repaint(const RECT* old);
    bool keyDown(WPARAM key);
    void reportFileSelection();
    HFONT font() const;

    void applyGeometry() override;
    void applyCaption() override;
    void applyText() override;
    void applyToolTip() override;
    void applyEnabled() override;
    void applyVisible() override;
    void applyValue() override;
    void applyLocked() override;
    void applyCaret() override;
    void applyItems() override;
    void applySelection() override;
    void applyPicture() override;
    void applyDrawing() override;
    void applyLook() override;

    Control& control_;
    Win32FormView& window_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH backBrush_ = nullptr;
    // Set while the model's state is applied: what the control reports meanwhile is not the user.
    int applying_ = 0;
    // A press of the pointer in a list that did not change its selection is still a click.
    bool pressChangedList_ = false;
};

} // namespace brenvik
