#include "platform/qt/ArrowSpinner.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>

namespace brenvik {

namespace {

constexpr int FirstRepeatMs = 350;
constexpr int RepeatMs = 60;

} // namespace

ArrowSpinner::ArrowSpinner(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    repeat_.setSingleShot(true);
    connect(&repeat_, &QTimer::timeout, this, [this] { step(pressed_, RepeatMs); });
}

void ArrowSpinner::stepUp() {
    step(Part::Up, 0);
}
void ArrowSpinner::stepDown() {
    step(Part::Down, 0);
}

void ArrowSpinner::step(Part part, int repeatAfterMs) {
    // A step can open a modal window (a message box), whose event loop would run the repeat
    // inside the step and take the button's release: no repeat runs during a step, and the
    // arrow is let go when the button is no longer held afterwards.
    if (stepping_)
        return;
    {
        const QScopedValueRollback<bool> stepping(stepping_, true);
        repeat_.stop();
        if (part == Part::Up && onUp)
            onUp();
        else if (part == Part::Down && onDown)
            onDown();
    }
    if (pressed_ == Part::None || repeatAfterMs == 0)
        return;
    if (isEnabled() && (QGuiApplication::mouseButtons() & Qt::LeftButton))
        repeat_.start(repeatAfterMs);
    else
        release();
}

QRect ArrowSpinner::partRect(Part part) const {
    const int half = height() / 2;
    if (part == Part::Up)
        return QRect(0, 0, width(), half);
    return QRect(0, half, width(), height() - half);
}

void ArrowSpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (Part part : {Part::Up, Part::Down}) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = partRect(part);
        option.state &= ~QStyle::State_HasFocus;
        option.state |= pressed_ == part ? QStyle::State_Sunken : QStyle::State_Raised;
        QStyleOptionButton button;
        static_cast<QStyleOption&>(button) = option;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow = option;
        arrow.rect = option.rect.adjusted(3, 2, -3, -2);
        style()->drawPrimitive(part == Part::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow,
                               &painter, this);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ArrowSpinner::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = partRect(Part::Up).contains(event->position().toPoint()) ? Part::Up : Part::Down;
    update();
    step(pressed_, FirstRepeatMs);
}

void ArrowSpinner::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        release();
}

void ArrowSpinner::release() {
    repeat_.stop();
    pressed_ = Part::None;
    update();
}

void ArrowSpinner::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        step(Part::Up, 0);
        break;
    case Qt::Key_Down:
        step(Part::Down, 0);
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void ArrowSpinner::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        release();
    QWidget::changeEvent(event);
}

} // namespace brenvik
