#pragma once

#include "platform/PropertyView.h"
#include "platform/windows/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

class Win32ControlView;
class Win32FormView;
struct PixelRect;

// The view of one control, of the family its kind belongs to (Win32ButtonView, Win32TextBoxView,
// the lists of Win32ListViews, the frames and labels of Win32StaticViews, Win32CanvasView,
// Win32ScrollBarView), attached to the control and showing its state. Its native control is a
// child of `parent` with the id `id`.
std::unique_ptr<Win32ControlView> makeWin32ControlView(Control& control, Win32FormView& window, HWND parent, int id);

// The native control of one Control, built from the control model alone. Every control's id is
// 1000 plus its position in Form::controls(), so that a window's controls can be found from
// outside by their names.
//
// The view mirrors the control: model changes are applied to the control, and what the native
// control reports back while they are applied is ignored. The user's actions go to the model only
// through its user methods and setters (userClick, userKey, userEdit, userSelect ...); after each,
// the native control is brought back in step with the model, which may have refused or changed
// what the user did.
//
// This class holds what every family shares: the native control and its font, its geometry
// (placed by the family), tool tip, enabled and visible state, colours, the pointer's moves and
// the focus. A family overrides the properties its controls have; the others show nothing.
class Win32ControlView : public PropertyView {
public:
    ~Win32ControlView() override;
    Win32ControlView(const Win32ControlView&) = delete;
    Win32ControlView& operator=(const Win32ControlView&) = delete;

    Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }

    void changed(Property what) override;
    // The window's DPI changed: fonts and geometry again.
    void rescale();
    // Shows the caption and the tool tip that changed since they were held back (see changed()).
    void releaseHeld();

    // The view of a native control made by this layer, or null.
    static Win32ControlView* of(HWND hwnd);

    // What the native control sends to its parent.
    void command(int code);
    void scroll(int code);
    virtual bool drawItem(const DRAWITEMSTRUCT&) { return false; }
    HBRUSH color(HDC dc);

protected:
    // Creates the native control: a window of class `cls` with `style` and `exStyle` besides what
    // every control has.
    Win32ControlView(Control& control, Win32FormView& window, HWND parent, int id, const wchar_t* cls, DWORD style,
                     DWORD exStyle);

    // While one lives, what the native control reports is the view's own doing, not the user's.
    class Applying {
    public:
        explicit Applying(int& depth) : depth_(depth) { ++depth_; }
        ~Applying() { --depth_; }
        Applying(const Applying&) = delete;
        Applying& operator=(const Applying&) = delete;

    private:
        int& depth_;
    };
    Applying applying() { return Applying(applying_); }
    bool isApplying() const { return applying_ > 0; }

    Win32FormView& window() const { return window_; }

    // Runs a user action through the model, then brings the native control back in step with it.
    void user(const std::function<void()>& action);

    // The family's part of what the native control reports to its parent; never called while
    // the model's state is applied.
    virtual void onCommand(int) {}
    virtual void onScroll(int) {}
    // The background of the control's text, once the text colour is set.
    virtual HBRUSH background(HDC dc);
    // The family's messages of the native control; true when handled, with the result in
    // `result`.
    virtual bool message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // Where the family places its control, given the rectangle the model asks for in pixels.
    virtual void place(RECT&) {}
    // Whether changes of the property are held back until the program is next at its message queue
    // or paints, and only the last shown. A tool tip always is; a family adds what may change
    // thousands of times in one action (a counter's caption, a list's selection).
    virtual bool holds(Property what) const { return what == Property::ToolTip; }

    // A left-button release inside the control is its click; `before` runs first, inside the
    // same user action. True when `message` was that release.
    bool clickOnRelease(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                        const std::function<void()>& before = {});
    // Whether the pointer at `lParam` is inside the control.
    bool inside(LPARAM lParam) const;
    // Sets the control's text to its caption; true when that changed it.
    bool showCaption();
    // The control's text now.
    std::wstring text() const;
    // The extent of a text in the control's font, lines split at CR LF, and one line's height.
    SIZE textExtent(const std::wstring& text) const;
    int lineHeight() const;
    // Draws the control again; `old` is where it stood before a move, in its container.
    void repaint(const RECT* old);
    // The font of the control's look at the window's DPI.
    void applyFont();

    static PixelRect toPixelRect(const RECT& r);
    static RECT toRect(const PixelRect& r);

    void applyGeometry() override;
    void applyCaption() override {}
    void applyText() override {}
    void applyToolTip() override;
    void applyEnabled() override;
    void applyVisible() override;
    void applyValue() override {}
    void applyLocked() override {}
    void applyCaret() override {}
    void applyItems() override {}
    void applySelection() override {}
    void applyPicture() override;
    void applyDrawing() override;
    void applyLook() override;

    HFONT font_ = nullptr;

private:
    friend std::unique_ptr<Win32ControlView> makeWin32ControlView(Control& control, Win32FormView& window, HWND parent,
                                                                  int id);

    // Shows the model's state and starts following it and the user; once the family is built.
    void attach();
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT own(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    Control& control_;
    Win32FormView& window_;
    HWND hwnd_ = nullptr;
    // Above 0 while the model's state is applied (see Applying).
    int applying_ = 0;
    std::vector<Property> held_;
};

COLORREF toColorRef(Color c);
// Enabled, and every container up to the window too: as the control is to be shown.
bool enabledWithContainers(const Control& control);

} // namespace brenvik
