#pragma once

#include <QWidget>
#include <functional>

namespace brenvik {

// The widget of the controls that draw themselves (QtCanvasView): it paints with the function it
// is given, which draws on the canvas straight from the model, so an update() is all a change
// needs.
class ControlCanvas : public QWidget {
public:
    ControlCanvas(QWidget* parent, std::function<void(QPainter&, const QWidget&)> paint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, const QWidget&)> paint_;
};

} // namespace brenvik
