#pragma once

#include <QWidget>

namespace brenvik {

class Control;

// The widget of the controls that draw themselves: a filled rectangle shape, an image (its
// picture at its natural size from the top-left corner, optionally framed by a single line; with
// no picture nothing is drawn, so what lies behind shows through) and a picture box (its drawn
// text from the top-left corner, "\r\n" starting a new line). It paints straight from the model,
// so an update() is all a change needs.
class ControlCanvas : public QWidget {
public:
    ControlCanvas(const Control& control, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintShape(QPainter& painter);
    void paintImage(QPainter& painter);
    void paintPictureBox(QPainter& painter);

    const Control& control_;
};

} // namespace brenvik
