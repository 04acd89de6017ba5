#pragma once

#include "platform/qt/QtControlView.h"

class QLineEdit;
class QPlainTextEdit;
class QKeyEvent;

namespace brenvik {

class TextBox;

// A text box: a line edit, or a plain text editor for a multi-line box (the model keeps CR LF
// line ends, the editor LF alone). A box whose keys the window's logic watches is edited by the
// model alone: every key but Tab goes to it, and the context menu, drops, input methods and the
// middle button's paste are refused. A left-button release is a click at the caret.
class QtTextBoxView : public QtControlView {
public:
    QtTextBoxView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    bool filterEvent(QObject* watched, QEvent* event) override;
    void applyStyle(QPalette& palette) override;
    void applyText() override;
    void applyLocked() override;
    void applyCaret() override;

    bool keyPress(QKeyEvent* event);
    // The caret's position in the model's text.
    int caret() const;

    TextBox& box_;
    // One of the two, as the box has one line or more.
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
};

} // namespace brenvik
