#pragma once

#include "platform/Control.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace brenvik {

class Platform;

enum class BorderStyle { None, FixedSingle, FixedDialog, FixedToolWindow };

// A view (a toolkit window) that mirrors one window of the program.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void formChanged(Property what) = 0;
};

// A window: its named controls, its handlers and its life. A window is created unloaded with its
// controls in their design state; it is loaded (Form_Load, once) when first shown or when any of
// its controls is touched, shown modally or not, hidden, and unloaded, which puts every control
// back in its design state. Form_Activate runs when the window is shown and again whenever it
// becomes the front window after a modal window in front of it has gone.
class Form {
public:
    Form(Platform& platform, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    Platform& platform() const { return platform_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    BorderStyle borderStyle() const { return borderStyle_; }
    bool minButton() const { return minButton_; }
    bool maxButton() const { return maxButton_; }
    const std::string& icon() const { return icon_; }
    // A picture filling the window's background (a resource name), or empty.
    const std::string& picture() const { return picture_; }

    // The inner area in twips, as designed.
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    // The outer size in twips (frame included). Assigning it resizes the window; its left and top
    // edges stay where they are.
    int outerWidth() const { return outerWidth_; }
    int outerHeight() const { return outerHeight_; }
    void setOuterSize(int width, int height);
    void setOuterWidth(int width) { setOuterSize(width, outerHeight_); }
    void setOuterHeight(int height) { setOuterSize(outerWidth_, height); }

    const std::vector<Control*>& controls() const { return order_; }
    Control* find(const std::string& name) const;
    // The button, option button or check box that Alt+`letter` presses: the first one the user
    // can reach whose caption marks that letter with "&" (either case), or null.
    Control* accessKeyTarget(char letter) const;
    // Front to back; controls not named keep their creation order behind the named ones.
    const std::vector<Control*>& stacking() const { return stacking_; }
    const std::vector<Control*>& tabOrder() const { return tabOrder_; }

    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }
    // True while the controls are being put back in their design state: no event fires.
    bool designing() const { return designing_; }

    void load();
    // Shows the window and returns once it has been hidden or unloaded again.
    void showModal();
    // Shows the window without waiting (the main window).
    void show();
    void hide();
    void unload();
    // The user closes the window from its frame: Form_QueryUnload may refuse, else it unloads.
    void userClose();

    Control* focused() const { return focused_; }
    void setFocus(Control& control);

    // While work runs aside (Platform::runAside) the window takes no input but on its controls
    // that answer while busy.
    bool inputHeld() const { return inputHeld_; }
    void holdInput(bool held) { inputHeld_ = held; }

    void setView(FormView* view) { view_ = view; }
    FormView* view() const { return view_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool& cancel) { (void)cancel; }
    virtual void Form_Unload() {}
    // Puts every control in its design state. Called by the constructor of the concrete window
    // (through applyDesign) and again at every unload.
    virtual void design() = 0;

    void applyDesign();

    template <typename T>
    T& add(const std::string& name, Control* container = nullptr) {
        // A container is made before what it holds: one declared later would not be built yet.
        if (container && std::find(order_.begin(), order_.end(), container) == order_.end())
            throw std::logic_error(name + ": its container is not made yet");
        auto control = std::make_unique<T>(*this, name, container);
        T& ref = *control;
        order_.push_back(control.get());
        owned_.push_back(std::move(control));
        return ref;
    }

    void setWindow(const std::string& caption, BorderStyle border, int clientWidth, int clientHeight);
    void setButtons(bool minButton, bool maxButton) {
        minButton_ = minButton;
        maxButton_ = maxButton;
    }
    void setIcon(const std::string& resource) { icon_ = resource; }
    void setPicture(const std::string& resource) { picture_ = resource; }
    void setStacking(std::vector<Control*> frontToBack);
    void setTabOrder(std::vector<Control*> order) { tabOrder_ = std::move(order); }

private:
    friend class Control;
    void activate();
    void changed(Property what);
    void becomeVisible();

    Platform& platform_;
    std::string name_;
    std::string caption_;
    BorderStyle borderStyle_ = BorderStyle::FixedSingle;
    bool minButton_ = false;
    bool maxButton_ = false;
    std::string icon_;
    std::string picture_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> order_;
    std::vector<Control*> stacking_;
    std::vector<Control*> tabOrder_;
    bool loaded_ = false;
    bool loading_ = false;
    bool activating_ = false;
    bool visible_ = false;
    bool designing_ = false;
    bool inputHeld_ = false;
    Control* focused_ = nullptr;
    FormView* view_ = nullptr;
};

// The frame a window of each border style adds around its inner area, in twips.
int frameWidthTwips(BorderStyle style);
int frameHeightTwips(BorderStyle style);

} // namespace brenvik
