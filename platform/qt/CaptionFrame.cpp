#include "platform/qt/CaptionFrame.h"

#include <QPainter>

namespace brenvik {

CaptionFrame::CaptionFrame(QWidget* parent) : QWidget(parent) {
    // A frame is opaque: one shown in front of another hides it and its contents completely.
    setAutoFillBackground(true);
}

void CaptionFrame::setTitle(const QString& title) {
    title_ = title;
    update();
}

void CaptionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -1, -1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.adjusted(1, 1, 0, 0));
    if (title_.isEmpty())
        return;
    const int width = metrics.horizontalAdvance(title_);
    const QRect caption(6, 0, std::min(width + 4, this->width() - 8), metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title_);
}

} // namespace brenvik
