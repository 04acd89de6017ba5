#pragma once

#include "platform/PropertyView.h"

#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

class QTreeWidgetItem;

namespace brenvik {

// The widget of one control, built from the control model alone: a frame is a group box, a label
// a label, a text box a line (or multi-line) edit, the buttons, lists and the scroll bar their Qt
// counterparts, and shapes, images and picture boxes draw themselves (ControlCanvas). The widget
// takes the control's name as its object name, so a window's widgets can be found by the names
// of its controls.
//
// The view mirrors the control: every change the model reports is applied with the widget's
// signals blocked, so applying model state never comes back as a user action. The user's actions
// go to the model only through its user methods and setters (userClick, userKey, userEdit,
// userSelect ...); after each, the widget is brought back in step with the model, which may have
// refused or changed what the user did.
//
// Geometry: twips / 15 = pixels, relative to the container's widget. A label sized to its text
// follows the width of its caption in its font; no label, option button or check box is drawn
// narrower than its text, so nothing the host's font makes wider is cut off.
class QtControlView : public QObject, public PropertyView {
public:
    // Creates the widget as a child of `parent` (the container's widget, or the window) and
    // attaches to the control. The view does not touch the model when it is destroyed.
    QtControlView(Control& control, QWidget* parent);
    ~QtControlView() override;

    Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }

    // Twips to pixels, rounded to the nearest.
    static int pixels(int twips);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createWidget(QWidget* parent);
    void connectUser();
    void watch(QWidget* w);
    // Runs a user action through the model, then brings the widget back in step with it.
    void user(const std::function<void()>& action);
    void resync();

    void applyGeometry() override;
    void applyCaption() override;
    void applyText() override;
    void applyToolTip() override;
    void applyAccessibleName();
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

    bool keyEvent(QObject* watched, QKeyEvent* event);
    void reportFileSelection();
    int dirIndexOf(QTreeWidgetItem* item) const;
    int textBoxCaret() const;

    Control& control_;
    QWidget* widget_ = nullptr;
    QWidget* viewport_ = nullptr;
    std::vector<QTreeWidgetItem*> dirItems_;
    // A press of the pointer in a list that did not change its selection is still a click.
    bool pressChangedList_ = false;
};

} // namespace brenvik
