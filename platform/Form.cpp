#include "platform/Form.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace brenvik {

int frameWidthTwips(BorderStyle style) {
    return style == BorderStyle::None ? 0 : 90;
}

int frameHeightTwips(BorderStyle style) {
    switch (style) {
    case BorderStyle::None:
        return 0;
    case BorderStyle::FixedToolWindow:
        return 315;
    default:
        return 375;
    }
}

Form::Form(Platform& platform, std::string name) : platform_(platform), name_(std::move(name)) {}

Form::~Form() {
    auto& stack = platform_.activeForms;
    stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
}

void Form::changed(Property what) {
    if (view_)
        view_->formChanged(what);
}

void Form::setCaption(const std::string& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    changed(Property::Caption);
}

void Form::setWindow(const std::string& caption, BorderStyle border, int clientWidth, int clientHeight) {
    caption_ = caption;
    borderStyle_ = border;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    outerWidth_ = clientWidth + frameWidthTwips(border);
    outerHeight_ = clientHeight + frameHeightTwips(border);
    changed(Property::Geometry);
}

void Form::setOuterSize(int width, int height) {
    load();
    if (width == outerWidth_ && height == outerHeight_)
        return;
    outerWidth_ = width;
    outerHeight_ = height;
    changed(Property::Geometry);
}

Control* Form::find(const std::string& name) const {
    for (Control* c : order_)
        if (c->name() == name)
            return c;
    return nullptr;
}

namespace {

// The letter a caption marks with "&" ("&&" is a plain "&"), or 0.
char markedLetter(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return utf8::asciiLower(caption[i + 1]);
        ++i;
    }
    return 0;
}

} // namespace

Control* Form::accessKeyTarget(char letter) const {
    if (letter == 0 || letter == '&')
        return nullptr;
    for (Control* c : order_) {
        const ControlKind kind = c->kind();
        if ((kind == ControlKind::CommandButton || kind == ControlKind::OptionButton ||
             kind == ControlKind::CheckBox) &&
            c->reachable() && markedLetter(c->caption()) == utf8::asciiLower(letter))
            return c;
    }
    return nullptr;
}

void Form::setStacking(std::vector<Control*> frontToBack) {
    for (Control* c : order_)
        if (std::find(frontToBack.begin(), frontToBack.end(), c) == frontToBack.end())
            frontToBack.push_back(c);
    stacking_ = std::move(frontToBack);
}

void Form::applyDesign() {
    designing_ = true;
    design();
    designing_ = false;
}

void Form::load() {
    if (loaded_ || loading_)
        return;
    loading_ = true;
    loaded_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{loading_};
    Form_Load();
}

void Form::becomeVisible() {
    visible_ = true;
    changed(Property::Visible);
    platform_.desktop.formShown(*this);
}

void Form::activate() {
    // A modal window closing inside Form_Activate makes this window the front one again; the
    // activation still running covers that, so it is not started a second time inside itself.
    if (!loaded_ || !visible_ || activating_)
        return;
    activating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{activating_};
    Form_Activate();
}

void Form::show() {
    load();
    if (!loaded_ || visible_)
        return;
    becomeVisible();
    platform_.activeForms.push_back(this);
    activate();
}

void Form::showModal() {
    load();
    if (!loaded_ || visible_)
        return;
    becomeVisible();
    auto& stack = platform_.activeForms;
    stack.push_back(this);
    // Leave the stack as it was even when the program ends inside the modal window.
    struct Pop {
        std::vector<Form*>& stack;
        Form* form;
        ~Pop() { stack.erase(std::remove(stack.begin(), stack.end(), form), stack.end()); }
    };
    {
        Pop pop{stack, this};
        activate();
        if (visible_)
            platform_.desktop.runModal(*this);
    }
    if (!stack.empty())
        stack.back()->activate();
}

void Form::hide() {
    if (!visible_)
        return;
    visible_ = false;
    changed(Property::Visible);
    platform_.desktop.formHidden(*this);
}

void Form::unload() {
    if (!loaded_)
        return;
    Form_Unload();
    bool wasVisible = visible_;
    visible_ = false;
    loaded_ = false;
    focused_ = nullptr;
    applyDesign();
    if (wasVisible)
        changed(Property::Visible);
    platform_.desktop.formUnloaded(*this);
}

void Form::userClose() {
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (!cancel)
        unload();
}

void Form::setFocus(Control& control) {
    if (!control.focusable() || !control.reachable())
        return;
    if (focused_ == &control)
        return;
    focused_ = &control;
    changed(Property::Focus);
}

} // namespace brenvik
