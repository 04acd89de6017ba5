#include "platform/PropertyView.h"

#include "platform/Form.h"

namespace brenvik {

void PropertyView::changed(Property what) {
    switch (what) {
    case Property::Geometry:
        applyGeometry();
        break;
    case Property::Caption:
        applyCaption();
        break;
    case Property::Text:
        applyText();
        break;
    case Property::ToolTip:
        applyToolTip();
        break;
    case Property::Enabled:
        applyEnabled();
        break;
    case Property::Visible:
        applyVisible();
        break;
    case Property::Value:
        applyValue();
        break;
    case Property::Locked:
        applyLocked();
        break;
    case Property::Caret:
        applyCaret();
        break;
    case Property::Items:
        applyItems();
        break;
    case Property::Selection:
        applySelection();
        break;
    case Property::Picture:
        applyPicture();
        break;
    case Property::Drawing:
        applyDrawing();
        break;
    case Property::Focus:
        // The window follows the focus, not the control.
        break;
    case Property::Look:
        applyLook();
        break;
    }
}

void PropertyView::applyAll() {
    applyLook();
    applyCaption();
    applyText();
    applyLocked();
    applyItems();
    applyValue();
    applyPicture();
    applyToolTip();
    applyEnabled();
    applyVisible();
    applyGeometry();
}

void PropertyView::resync(const Control& control) {
    // A window unloaded by the action is back in its design state, which its views already show;
    // reading it now would load it again.
    const Form& form = control.form();
    if (!form.loaded() || form.designing())
        return;
    applyValue();
    applySelection();
    applyText();
    applyCaret();
}

} // namespace brenvik
