#include "platform/qt/ControlCanvas.h"

#include <QPainter>
#include <utility>

namespace brenvik {

ControlCanvas::ControlCanvas(QWidget* parent, std::function<void(QPainter&, const QWidget&)> paint)
    : QWidget(parent), paint_(std::move(paint)) {}

void ControlCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint_(painter, *this);
}

} // namespace brenvik
