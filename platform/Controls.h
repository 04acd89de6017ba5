#pragma once

#include "platform/Control.h"
#include "platform/FileStamp.h"

#include <map>
#include <string>
#include <vector>

namespace brenvik {

// The kinds of control the windows are made of. Each is a thin record of what the user sees plus
// the events it raises; views render them, the windows' logic reads and assigns them.

class Frame : public Control {
public:
    Frame(Form& form, std::string name, Control* container) : Control(form, ControlKind::Frame, name, container) {}
};

enum class Align { Left, Center, Right };

class Label : public Control {
public:
    Label(Form& form, std::string name, Control* container) : Control(form, ControlKind::Label, name, container) {}

    Align alignment() const { return alignment_; }
    void setAlignment(Align a);
    // Sized to its text: the view widens the label to fit its caption.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool transparent() const { return transparent_; }
    void setTransparent(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);

private:
    Align alignment_ = Align::Left;
    bool autoSize_ = false;
    bool transparent_ = false;
    bool wordWrap_ = true;
};

// Virtual key codes the text box understands.
namespace vk {
constexpr int Back = 8;
constexpr int Delete = 46;
constexpr int Digit0 = 48;
constexpr int Digit9 = 57;
constexpr int Numpad0 = 96;
constexpr int Numpad9 = 105;
} // namespace vk

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, Control* container) : Control(form, ControlKind::TextBox, name, container) {}
    bool focusable() const override { return true; }

    const std::string& text() const;
    void setText(const std::string& text);
    // 0 means no limit. Only the user's typing is limited, as in any edit control.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n) { maxLength_ = n; }
    // The limit a toolkit's edit control keeps to typing when it shows `shownLength` characters:
    // the model's own where the control does the typing, else none (32767, as an edit control
    // has by default), and never below what is shown, so that a longer text set from code is
    // never cut.
    int editLimit(int shownLength) const;
    bool locked() const;
    void setLocked(bool locked);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }
    // Caret position in characters, 0 to the text's length.
    int selStart() const;
    void setSelStart(int position);

    std::function<void()> onChange;
    std::function<void(int keyCode, int shift)> onKeyDown;
    std::function<void(int keyCode, int shift)> onKeyUp;

    // True when the window's logic watches the keys: views then hand every keystroke to
    // userKey instead of editing the text themselves.
    bool watchesKeys() const { return static_cast<bool>(onKeyDown) || static_cast<bool>(onKeyUp); }

    // The user presses and releases one key: key down, then (when the box is not locked) the edit
    // the key makes (`typed` is the character it types, empty for none; Backspace and Delete
    // erase), then key up.
    void userKey(int keyCode, const std::string& typed, int shift = 0);
    // The user edits the text directly (a box that does not watch its keys).
    void userEdit(const std::string& text);

private:
    std::string text_;
    int maxLength_ = 0;
    bool locked_ = false;
    bool multiLine_ = false;
    int selStart_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::OptionButton, name, container) {}
    bool focusable() const override { return true; }

    bool value() const;
    // True clears the other option buttons of the same container (silently) and raises Click;
    // false raises nothing.
    void setValue(bool on);
    void userClick() override;

private:
    bool value_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::CheckBox, name, container) {}
    bool focusable() const override { return true; }

    // 0 clear, 1 ticked. A change raises Click.
    int value() const;
    void setValue(int state);
    void userClick() override;

private:
    int value_ = 0;
};

class VScrollBar : public Control {
public:
    VScrollBar(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::VScrollBar, name, container) {}
    bool focusable() const override { return true; }

    int min() const { return min_; }
    int max() const { return max_; }
    void setRange(int min, int max);
    void setChanges(int small, int large);
    int value() const;
    // A value outside the range throws 380 (invalid property value). A change raises Change.
    void setValue(int value);

    std::function<void()> onChange;

    // The arrows and the track: the value moves by the small or large change, clamped.
    void userLineDown();
    void userLineUp();
    void userPageDown();
    void userPageUp();

private:
    void userMove(int delta);
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::CommandButton, name, container) {}
    bool focusable() const override { return true; }

    // A graphical button shows its picture (a resource name) above the caption.
    const std::string& picture() const { return picture_; }
    void setPicture(const std::string& resource);

    // Presses the button from code: raises Click as a user's press does.
    void click();

private:
    std::string picture_;
};

class Shape : public Control {
public:
    Shape(Form& form, std::string name, Control* container) : Control(form, ControlKind::Shape, name, container) {}

    Color fillColor() const { return fillColor_; }
    Color borderColor() const { return borderColor_; }
    void setColors(Color fill, Color border);

private:
    Color fillColor_;
    Color borderColor_;
};

class Image : public Control {
public:
    Image(Form& form, std::string name, Control* container) : Control(form, ControlKind::Image, name, container) {}

    // A resource name; empty for no picture.
    const std::string& picture() const;
    void setPicture(const std::string& resource);
    bool bordered() const { return bordered_; }
    void setBordered(bool on);

private:
    std::string picture_;
    bool bordered_ = false;
};

// A box that text is drawn into from its top-left corner.
class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::PictureBox, name, container) {}

    // Clears the drawing and puts the drawing position back at the top-left corner.
    void cls();
    // Draws text at the drawing position; "\r\n" starts a new line.
    void print(const std::string& text);
    const std::string& drawnText() const { return drawn_; }

private:
    std::string drawn_;
};

// The machine's drives, one current.
class DriveList : public Control {
public:
    DriveList(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::DriveList, name, container) {}
    bool focusable() const override { return true; }

    // Entries as shown ("c: [/home/ana]"), read from the file system.
    const std::vector<std::string>& entries() const;
    void refresh();
    // The current entry's text, and its index in entries() (-1 when it is not listed).
    const std::string& drive() const;
    int currentIndex() const;
    // Takes "c:", "C:\..." or an entry's text; a drive not in the list throws 68. A change raises
    // Change.
    void setDrive(const std::string& drive);

    std::function<void()> onChange;

    void userChoose(int index);

private:
    std::vector<std::string> entries_;
    std::string drive_;
};

// Whether assigning a list's folder raises its change event only when the folder changes.
enum class Raise { OnChange, Always };

// The folders of one drive: the open levels from the root down to the current folder, then its
// sub-folders.
class DirList : public Control {
public:
    DirList(Form& form, std::string name, Control* container) : Control(form, ControlKind::DirList, name, container) {}
    bool focusable() const override { return true; }

    struct Entry {
        std::string path;  // full path of the folder
        std::string label; // what the list shows: "c:\" for the root, else the folder's name
        int level = 0;     // indentation
        bool open = false; // an open level (the current folder or one above it)
    };

    // "c:\" for a root, "c:\myfiles" below it (no final "\").
    const std::string& path() const;
    // Takes a folder path or a bare drive ("c:", "c: [/home/ana]", meaning that drive's current
    // folder). A folder that cannot be shown throws (76, 68, 71). A change raises Change; with
    // Raise::Always the folder on show is read again and raises it too.
    void setPath(const std::string& path, Raise raise = Raise::OnChange);
    const std::vector<Entry>& entries() const;
    // Reads the sub-folders again.
    void refresh();
    int listIndex() const { return listIndex_; }
    // The entry a view shows as current: the highlighted one, else the open folder itself.
    int shownIndex() const;

    std::function<void()> onChange;

    // A single click only highlights an entry; a double click opens it. An entry that went
    // away since it was listed opens nothing; the list shows what is there now, and when the
    // folder on show went too, the nearest level above it that still exists.
    void userHighlight(int index);
    void userOpen(int index);

private:
    void readEntries();
    void showNearestExisting();
    // The folder a bare drive stands for: the one last shown on that drive while it is still
    // there, else the drive's root.
    std::string currentFolder(char drive);
    std::string path_;
    std::vector<Entry> entries_;
    int listIndex_ = -1;
    std::map<char, std::string> currentByDrive_;
};

// The files of one folder, hidden ones included, in name order.
class FileList : public Control {
public:
    FileList(Form& form, std::string name, Control* container)
        : Control(form, ControlKind::FileList, name, container) {}
    bool focusable() const override { return true; }

    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on) { multiSelect_ = on; }
    // Whether each listing also takes every file's stamp, as it is when the list shows it.
    void setKeepsStamps(bool on) { keepsStamps_ = on; }

    const std::string& path() const;
    // A new folder reads its files (a failure throws and changes nothing) and raises PathChange;
    // the same folder changes nothing, unless with Raise::Always, which reads it again.
    void setPath(const std::string& path, Raise raise = Raise::OnChange);
    // Reads the files of the same folder again; the selection is cleared. Raises nothing.
    void refresh();

    int count() const;
    const std::string& item(int index) const;
    const std::vector<std::string>& items() const;
    // The item's stamp as the listing found it (with setKeepsStamps; an empty one otherwise).
    FileStamp stamp(int index) const;
    bool selected(int index) const;
    // How many items are selected.
    int selCount() const;
    // A change of an item's selection raises Click, as the user's click does. In a single-
    // selection list selecting an item deselects the others.
    void setSelected(int index, bool on);
    // The current item (the one with the focus), -1 for none.
    int listIndex() const;
    // The current item's name when it is selected, else empty.
    std::string fileName() const;

    std::function<void()> onPathChange;

    // A click on an item: a single-selection list selects it; a multiple-selection list toggles it.
    void userClickItem(int index);
    // A view's whole new selection after one user action; raises Click once when anything changed.
    void userSelect(const std::vector<bool>& selection, int current);

private:
    // Reads the folder's files, with their stamps when the list keeps them.
    void read(const std::string& folder);

    std::string path_;
    std::vector<std::string> items_;
    std::vector<FileStamp> stamps_;
    std::vector<bool> selected_;
    int listIndex_ = -1;
    bool multiSelect_ = false;
    bool keepsStamps_ = false;
};

} // namespace brenvik
