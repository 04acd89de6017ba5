#pragma once

#include "platform/qt/QtControlView.h"

class QAbstractButton;

namespace brenvik {

class CheckBox;
class CommandButton;
class OptionButton;

// The buttons: a command button is a push button, or with a picture a tool button showing it
// above the caption; an option button is a radio button the model keeps exclusive; a check box
// a check box. A press is the control's click. No option button or check box is drawn narrower
// than its caption or shorter than the style's indicator.
class QtButtonView : public QtControlView {
public:
    QtButtonView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    // Enter presses a push button that has the focus, as Space does: as in the system's dialogs.
    bool filterEvent(QObject* watched, QEvent* event) override;
    QRect place(QRect designed) override;
    void applyStyle(QPalette& palette) override;
    void applyCaption() override;
    void applyValue() override;
    void applyPicture() override;

    QAbstractButton* button_ = nullptr;
    // The one that the control is; the others are null.
    CommandButton* command_ = nullptr;
    OptionButton* option_ = nullptr;
    CheckBox* check_ = nullptr;
};

} // namespace brenvik
