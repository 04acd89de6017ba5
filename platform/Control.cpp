#include "platform/Control.h"

#include "platform/Form.h"
#include "platform/Platform.h"

namespace brenvik {

Control::Control(Form& form, ControlKind kind, std::string name, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container) {}

Platform& Control::platform() const {
    return form_.platform();
}

void Control::runAside(const std::function<void()>& work) const {
    platform().runAside(work);
}

bool Control::live() const {
    return form_.loaded() && !form_.designing();
}

void Control::touch() const {
    if (!form_.loaded() && !form_.designing())
        form_.load();
}

void Control::changed(Property what) {
    if (view_)
        view_->changed(what);
}

void Control::fire(const std::function<void()>& handler) {
    if (handler && live())
        handler();
}

Geometry Control::geometry() const {
    touch();
    return geometry_;
}

void Control::setGeometry(Geometry g) {
    assign(geometry_, g, Property::Geometry);
}

void Control::setWidth(int width) {
    Geometry g = geometry();
    g.width = width;
    setGeometry(g);
}

void Control::setHeight(int height) {
    Geometry g = geometry();
    g.height = height;
    setGeometry(g);
}

const std::string& Control::caption() const {
    touch();
    return caption_;
}

void Control::setCaption(const std::string& caption) {
    assign(caption_, caption, Property::Caption);
}

const std::string& Control::toolTip() const {
    touch();
    return toolTip_;
}

void Control::setToolTip(const std::string& text) {
    assign(toolTip_, text, Property::ToolTip);
}

bool Control::enabled() const {
    touch();
    return enabled_;
}

void Control::setEnabled(bool enabled) {
    if (!assign(enabled_, enabled, Property::Enabled))
        return;
    // A disabled control loses the focus, as a hidden one does: the system has taken it away, and
    // the control's next setFocus must give it back.
    if (!enabled && form_.focused() == this)
        form_.focused_ = nullptr;
}

bool Control::visible() const {
    touch();
    return visible_;
}

void Control::setVisible(bool visible) {
    touch();
    if (visible == visible_)
        return;
    visible_ = visible;
    if (!visible && form_.focused() == this)
        form_.focused_ = nullptr;
    changed(Property::Visible);
}

const std::string& Control::tag() const {
    touch();
    return tag_;
}

void Control::setTag(const std::string& tag) {
    touch();
    tag_ = tag;
}

void Control::setFont(const Font& font) {
    font_ = font;
    changed(Property::Look);
}

void Control::setForeColor(Color c) {
    foreColor_ = c;
    changed(Property::Look);
}

bool Control::reachable() const {
    if (form_.inputHeld() && !answersWhileBusy_)
        return false;
    for (const Control* c = this; c; c = c->container_)
        if (!c->enabled_ || !c->visible_)
            return false;
    return true;
}

bool Control::shown() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_)
            return false;
    return true;
}

void Control::setFocus() {
    form_.setFocus(*this);
}

bool Control::hasFocus() const {
    return form_.focused() == this;
}

void Control::userClick() {
    if (reachable())
        fire(onClick);
}

void Control::userMouseMove() {
    if (reachable())
        fire(onMouseMove);
}

} // namespace brenvik
