#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brenvik {

class Form;
class Platform;

enum class ControlKind {
    Frame,
    Label,
    TextBox,
    OptionButton,
    CheckBox,
    VScrollBar,
    CommandButton,
    Shape,
    Image,
    PictureBox,
    DriveList,
    DirList,
    FileList,
};

// What changed on a control or window, so that a view repaints only that.
enum class Property {
    Geometry,
    Caption,
    Text,
    ToolTip,
    Enabled,
    Visible,
    Value,
    Locked,
    Caret,
    Items,
    Selection,
    Picture,
    Drawing,
    Focus,
    Look,
};

// Left, top, width, height in twips (15 to a pixel at 96 dpi), relative to the container.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Geometry&) const = default;
};

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Color&) const = default;
};

// An empty face is the platform's default dialog font.
struct Font {
    std::string face;
    int points = 8;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// A view (a toolkit widget) that mirrors one control.
class ControlView {
public:
    virtual ~ControlView() = default;
    virtual void changed(Property what) = 0;
};

// A named control of a window. Assigning a property from code to a new value runs the control's
// event handler at once, nested inside the assignment, exactly as the user's action does; the
// same value fires nothing. Touching any property of a control whose window was unloaded loads
// the window again first.
class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, Control* container);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    Control* container() const { return container_; }

    Geometry geometry() const;
    void setGeometry(Geometry g);
    int left() const { return geometry().left; }
    int top() const { return geometry().top; }
    int width() const { return geometry().width; }
    int height() const { return geometry().height; }
    void setWidth(int width);
    void setHeight(int height);

    const std::string& caption() const;
    void setCaption(const std::string& caption);
    const std::string& toolTip() const;
    void setToolTip(const std::string& text);
    bool enabled() const;
    void setEnabled(bool enabled);
    bool visible() const;
    void setVisible(bool visible);
    const std::string& tag() const;
    void setTag(const std::string& tag);

    // Look: fonts and colours; a view reads them once and on Property::Look.
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);

    // Enabled, or visible, together with every container up to the window, and not held while
    // work runs aside: what the user can actually reach.
    bool reachable() const;
    // Whether the control takes the user's input while its window holds it (About, which only
    // shows who made the program).
    bool answersWhileBusy() const { return answersWhileBusy_; }
    void setAnswersWhileBusy(bool answers) { answersWhileBusy_ = answers; }
    bool shown() const;

    // Whether the control can take the keyboard focus at all (buttons, boxes, lists).
    virtual bool focusable() const { return false; }
    void setFocus();
    bool hasFocus() const;

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

    // The user's pointer: both do nothing on a control the user cannot reach.
    virtual void userClick();
    void userMouseMove();

    void setView(ControlView* view) { view_ = view; }
    ControlView* view() const { return view_; }

protected:
    void changed(Property what);
    // Runs a handler when the window is live (loaded, not being reset to its design).
    void fire(const std::function<void()>& handler);
    template <typename... Args>
    void fire(const std::function<void(Args...)>& handler, Args... args) {
        if (handler && live())
            handler(args...);
    }
    bool live() const;
    // Loads the window again when it was unloaded.
    void touch() const;
    // A property assigned from code: loads the window, then, unless `field` holds `value` already,
    // stores it and tells the view. True when it changed, for the setter to raise its event.
    template <typename T>
    bool assign(T& field, const T& value, Property what) {
        touch();
        if (value == field)
            return false;
        field = value;
        changed(what);
        return true;
    }
    Platform& platform() const;
    // A listing of the disk, read aside (Platform::runAside), so that a slow disk or share keeps
    // the window answering; to the caller it is a read like any other, its failure included.
    template <typename Read>
    auto readAside(Read read) const -> decltype(read()) {
        std::optional<decltype(read())> result;
        runAside([&] { result.emplace(read()); });
        return std::move(*result);
    }
    void runAside(const std::function<void()>& work) const;

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Control* container_;
    Geometry geometry_;
    std::string caption_;
    std::string toolTip_;
    std::string tag_;
    bool enabled_ = true;
    bool visible_ = true;
    bool answersWhileBusy_ = false;
    Font font_;
    Color foreColor_;
    ControlView* view_ = nullptr;
};

} // namespace brenvik
