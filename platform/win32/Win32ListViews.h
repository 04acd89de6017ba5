#pragma once

#include "platform/win32/Win32ControlView.h"

#include <vector>

namespace brenvik {

class DirList;
class DriveList;
class FileList;

// The lists: the drive list, the folder list and the file lists, on the window's background. The
// folder and file lists share the press of the pointer: one that did not change the selection is
// still a click on the item.
class Win32ListView : public Win32ControlView {
protected:
    using Win32ControlView::Win32ControlView;

    HBRUSH background(HDC dc) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // A left-button release over an item that changed no selection; the list has handled it.
    virtual void clickedItem(int) {}

    // Set when the selection changed since the last press of the pointer.
    bool pressChangedList_ = false;
};

// A drop-down combo box. Choosing an entry is the user's choice of a drive; moving through the
// dropped list is not choosing yet.
class Win32DriveListView : public Win32ListView {
public:
    Win32DriveListView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    // The combo box handles the pointer itself.
    bool message(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    void onCommand(int code) override;
    void place(RECT& r) override;
    void applyValue() override;
    void applyItems() override;

    DriveList& drives_;
};

// An owner-drawn list box, each folder's picture and name indented by its level. Highlighting an
// entry (or clicking the highlighted one) is a highlight; a double click or Enter opens it.
class Win32DirListView : public Win32ListView {
public:
    Win32DirListView(Control& control, Win32FormView& window, HWND parent, int id);

    bool drawItem(const DRAWITEMSTRUCT& item) override;

private:
    void onCommand(int code) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void clickedItem(int index) override;
    void applyItems() override;
    void applySelection() override;

    DirList& dirs_;
};

// A list box of names, one or many selected as the model says.
class Win32FileListView : public Win32ListView {
public:
    Win32FileListView(Control& control, Win32FormView& window, HWND parent, int id);

private:
    void onCommand(int code) override;
    void clickedItem(int index) override;
    bool holds(Property what) const override { return what == Property::Selection || Win32ListView::holds(what); }
    void applyItems() override;
    void applySelection() override;
    void reportSelection();

    FileList& files_;
    // What the list box shows selected, and its caret: the box is sent only what differs. A
    // detection of a thousand parts selects them one by one: asking the box item by item at each
    // change, and letting it draw each one, took minutes.
    std::vector<bool> shown_;
    int shownCaret_ = -1;
};

} // namespace brenvik
