#pragma once

#include "platform/PropertyView.h"

#include <QObject>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace brenvik {

class QtControlView;

// The view of one control, of the family its kind belongs to (QtButtonView, QtTextBoxView, the
// lists of QtListViews, the frames and labels of QtStaticViews, QtCanvasView, QtScrollBarView),
// attached to the control and showing its state. `parent` is the container's widget, or the
// window.
std::unique_ptr<QtControlView> makeQtControlView(Control& control, QWidget* parent);

// The widget of one control, built from the control model alone. The widget takes the control's
// name as its object name, so a window's widgets can be found by the names of its controls.
//
// The view mirrors the control: every change the model reports is applied with the widget's
// signals blocked, so applying model state never comes back as a user action. The user's actions
// go to the model only through its user methods and setters (userClick, userKey, userEdit,
// userSelect ...); after each, the widget is brought back in step with the model, which may have
// refused or changed what the user did.
//
// This class holds what every family shares: the widget, its geometry (twips / 15 = pixels,
// relative to the container's widget, then placed by the family), font and colours, tool tip,
// accessible name, enabled and visible state, the pointer's moves and the focus. A family
// overrides the properties its controls have; the others show nothing.
class QtControlView : public QObject, public PropertyView {
public:
    ~QtControlView() override;

    Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }

    // A change the family holds (see holds) is shown once the event loop runs, or before the
    // user's next input to the control, whichever comes first: a detection that selects a
    // thousand parts one by one changes the list, its counter and its tool tip a thousand times,
    // and drawing each state would cost the square of the selection.
    void changed(Property what) override;
    // Shows what is held now.
    void releaseHeld();
    // Shows what every view holds, for a paint that must show the model as it is now.
    static void releaseAllHeld();

    // Twips to pixels, rounded to the nearest.
    static int pixels(int twips);

protected:
    explicit QtControlView(Control& control);

    // Called once by the family's constructor: the control's widget and, for a scrolling widget,
    // the viewport that receives the pointer.
    void setWidget(QWidget* widget, QWidget* viewport = nullptr);

    // Runs a user action through the model, then brings the widget back in step with it.
    void user(const std::function<void()>& action);

    // Where the family places its widget, given the rectangle the model asks for in pixels.
    virtual QRect place(QRect designed) { return designed; }
    // The family's part of the look, once the font is set: its colours in `palette` (see
    // setColors) and whatever else the look decides.
    virtual void applyStyle(QPalette&) {}
    // Connects the widget's signals to the model's user methods.
    virtual void connectUser() {}
    // The family's events of its widget or viewport; true when eaten.
    virtual bool filterEvent(QObject*, QEvent*) { return false; }
    // The caption as the family draws it: without the "&" that marks an access key, unless the
    // family shows captions exactly as they are.
    virtual QString shownCaption(const QString& caption) const;
    // The properties whose changes wait for the event loop: the tool tip, and what a family adds.
    virtual bool holds(Property what) const { return what == Property::ToolTip; }

    // The model's fore colour on `fore`; on `back` the style's own background in every state, so
    // that an opaque label in a disabled frame keeps the colour of the frame around it.
    void setColors(QPalette& palette, QPalette::ColorRole fore, QPalette::ColorRole back) const;
    // A left-button release inside the widget is the control's click; `before` runs first,
    // inside the same user action.
    bool clickOnRelease(QObject* watched, QEvent* event, const std::function<void()>& before = {});

    void applyGeometry() override;
    void applyCaption() override;
    void applyText() override {}
    void applyToolTip() override;
    void applyEnabled() override;
    void applyVisible() override;
    void applyValue() override {}
    void applyLocked() override {}
    void applyCaret() override {}
    void applyItems() override {}
    void applySelection() override {}
    void applyPicture() override {}
    void applyDrawing() override;
    void applyLook() override;

private:
    friend std::unique_ptr<QtControlView> makeQtControlView(Control& control, QWidget* parent);

    // Shows the model's state and starts following it and the user; once the family is built.
    void attach();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void watch(QWidget* w);
    void applyAccessibleName();

    Control& control_;
    QWidget* widget_ = nullptr;
    QWidget* viewport_ = nullptr;
    std::vector<Property> held_;
};

} // namespace brenvik
