#include "platform/qt/ControlCanvas.h"

#include "platform/Controls.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFonts.h"

#include <QPainter>
#include <QStringList>

namespace brenvik {

namespace {

QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

} // namespace

ControlCanvas::ControlCanvas(const Control& control, QWidget* parent) : QWidget(parent), control_(control) {
    // An image without a picture is a see-through catcher of pointer moves over what is behind.
    setAttribute(Qt::WA_NoSystemBackground, control.kind() != ControlKind::PictureBox);
}

void ControlCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    switch (control_.kind()) {
    case ControlKind::Shape:
        paintShape(painter);
        break;
    case ControlKind::Image:
        paintImage(painter);
        break;
    case ControlKind::PictureBox:
        paintPictureBox(painter);
        break;
    default:
        break;
    }
}

void ControlCanvas::paintShape(QPainter& painter) {
    const auto& shape = static_cast<const Shape&>(control_);
    if (width() <= 0 || height() <= 0)
        return;
    painter.fillRect(rect(), toQColor(shape.fillColor()));
    painter.setPen(toQColor(shape.borderColor()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ControlCanvas::paintImage(QPainter& painter) {
    const auto& image = static_cast<const Image&>(control_);
    QPixmap picture = pictures::natural(image.picture());
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    if (image.bordered()) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ControlCanvas::paintPictureBox(QPainter& painter) {
    const auto& box = static_cast<const PictureBox&>(control_);
    QColor background = box.hasBackColor() ? toQColor(box.backColor()) : palette().color(QPalette::Window);
    painter.fillRect(rect(), background);
    // A sunken single border, as a picture box has by default.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);

    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    painter.setFont(toQFont(box.font()));
    painter.setPen(toQColor(box.foreColor()));
    const QFontMetrics metrics(painter.font());
    const QStringList lines = QString::fromStdString(box.drawnText()).split(QStringLiteral("\r\n"));
    int y = 1 + metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(1, y, line);
        y += metrics.lineSpacing();
    }
}

} // namespace brenvik
