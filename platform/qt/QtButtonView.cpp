#include "platform/qt/QtButtonView.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtConvert.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace brenvik {

QtButtonView::QtButtonView(Control& control, QWidget* parent) : QtControlView(control) {
    if (control.kind() == ControlKind::OptionButton) {
        option_ = static_cast<OptionButton*>(&control);
        auto* radio = new QRadioButton(parent);
        // The model keeps option buttons exclusive within their container.
        radio->setAutoExclusive(false);
        button_ = radio;
    } else if (control.kind() == ControlKind::CheckBox) {
        check_ = static_cast<CheckBox*>(&control);
        button_ = new QCheckBox(parent);
    } else {
        command_ = static_cast<CommandButton*>(&control);
        if (!command_->picture().empty()) {
            auto* tool = new QToolButton(parent);
            tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            tool->setIconSize(QSize(32, 32));
            tool->setFocusPolicy(Qt::StrongFocus);
            button_ = tool;
        } else {
            auto* push = new QPushButton(parent);
            push->setAutoDefault(false);
            button_ = push;
        }
    }
    setWidget(button_);
}

void QtButtonView::connectUser() {
    connect(button_, &QAbstractButton::clicked, this, [this] { user([this] { control().userClick(); }); });
}

bool QtButtonView::filterEvent(QObject* watched, QEvent* event) {
    if (!command_ || watched != button_ || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat())
        return false;
    button_->click();
    return true;
}

QRect QtButtonView::place(QRect designed) {
    if (command_)
        return designed;
    const QSize hint = button_->sizeHint();
    const PixelRect r = placeIndicatorButton({designed.x(), designed.y(), designed.width(), designed.height()},
                                             hint.width(), hint.height());
    return QRect(r.left, r.top, r.width, r.height);
}

void QtButtonView::applyStyle(QPalette& palette) {
    if (command_)
        setColors(palette, QPalette::ButtonText, QPalette::Button);
    else
        setColors(palette, QPalette::WindowText, QPalette::Window);
}

void QtButtonView::applyCaption() {
    {
        QSignalBlocker block(button_);
        button_->setText(qs(control().caption()));
        // The caption's width may change where an option button or check box has to stand.
        if (!command_)
            applyGeometry();
    }
    QtControlView::applyCaption();
}

void QtButtonView::applyValue() {
    QSignalBlocker block(button_);
    if (option_)
        button_->setChecked(option_->value());
    else if (check_)
        button_->setChecked(check_->value() != 0);
}

void QtButtonView::applyPicture() {
    if (command_)
        button_->setIcon(pictures::icon(command_->picture()));
}

} // namespace brenvik
