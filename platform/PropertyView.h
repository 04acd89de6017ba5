#pragma once

#include "platform/Control.h"

namespace brenvik {

// A toolkit's view of one control that follows each property with an operation of its own, so
// that every toolkit follows the same properties, and shows a new control's state in the same
// order: its look first, the geometry last, once everything that can change its size is set.
class PropertyView : public ControlView {
public:
    void changed(Property what) override;

protected:
    // Shows every property, as when the view is made.
    void applyAll();
    // After the user's action on `control`: shows again what the model may have refused or
    // changed of it (value, selection, text, caret).
    void resync(const Control& control);

    virtual void applyLook() = 0;
    virtual void applyGeometry() = 0;
    virtual void applyCaption() = 0;
    virtual void applyText() = 0;
    virtual void applyToolTip() = 0;
    virtual void applyEnabled() = 0;
    virtual void applyVisible() = 0;
    virtual void applyValue() = 0;
    virtual void applyLocked() = 0;
    virtual void applyCaret() = 0;
    virtual void applyItems() = 0;
    virtual void applySelection() = 0;
    virtual void applyPicture() = 0;
    // What is drawn on a picture box or shape changed.
    virtual void applyDrawing() = 0;
};

} // namespace brenvik
