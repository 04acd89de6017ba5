#include "platform/qt/QtCanvasView.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/qt/ControlCanvas.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"

#include <QPainter>
#include <QStringList>

namespace brenvik {

namespace {

void paintShape(const Shape& shape, QPainter& painter, const QWidget& canvas) {
    const QRect r = canvas.rect();
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(r, toQColor(shape.fillColor()));
    painter.setPen(toQColor(shape.borderColor()));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
}

void paintImage(const Image& image, QPainter& painter, const QWidget& canvas) {
    QPixmap picture = pictures::natural(image.picture());
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
    if (image.bordered()) {
        painter.setPen(canvas.palette().color(QPalette::Shadow));
        painter.drawRect(canvas.rect().adjusted(0, 0, -1, -1));
    }
}

void paintPictureBox(const PictureBox& box, QPainter& painter, const QWidget& canvas) {
    const int width = canvas.width();
    const int height = canvas.height();
    painter.fillRect(canvas.rect(), canvas.palette().color(QPalette::Window));
    // A sunken single border, as a picture box has by default.
    painter.setPen(canvas.palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width - 1, 0);
    painter.drawLine(0, 0, 0, height - 1);
    painter.setPen(canvas.palette().color(QPalette::Light));
    painter.drawLine(width - 1, 0, width - 1, height - 1);
    painter.drawLine(0, height - 1, width - 1, height - 1);

    painter.setClipRect(canvas.rect().adjusted(1, 1, -1, -1));
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

} // namespace

QtCanvasView::QtCanvasView(Control& control, QWidget* parent) : QtControlView(control) {
    std::function<void(QPainter&, const QWidget&)> paint;
    if (control.kind() == ControlKind::Shape) {
        const auto& shape = static_cast<const Shape&>(control);
        paint = [&shape](QPainter& painter, const QWidget& canvas) { paintShape(shape, painter, canvas); };
    } else if (control.kind() == ControlKind::Image) {
        image_ = static_cast<Image*>(&control);
        paint = [image = image_](QPainter& painter, const QWidget& canvas) { paintImage(*image, painter, canvas); };
    } else {
        const auto& box = static_cast<const PictureBox&>(control);
        paint = [&box](QPainter& painter, const QWidget& canvas) { paintPictureBox(box, painter, canvas); };
    }
    canvas_ = new ControlCanvas(parent, std::move(paint));
    // An image without a picture is a see-through catcher of pointer moves over what is behind.
    canvas_->setAttribute(Qt::WA_NoSystemBackground, control.kind() != ControlKind::PictureBox);
    setWidget(canvas_);
}

bool QtCanvasView::filterEvent(QObject* watched, QEvent* event) {
    return clickOnRelease(watched, event);
}

QRect QtCanvasView::place(QRect designed) {
    if (!image_)
        return designed;
    // An image that is not stretched takes its picture's size.
    const QSize picture = pictures::naturalSize(image_->picture());
    const PixelRect r = placeImage({designed.x(), designed.y(), designed.width(), designed.height()}, picture.width(),
                                   picture.height());
    return QRect(r.left, r.top, r.width, r.height);
}

void QtCanvasView::applyPicture() {
    if (!image_)
        return;
    applyGeometry();
    widget()->update();
}

} // namespace brenvik
