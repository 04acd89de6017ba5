#pragma once

#include "platform/qt/QtControlView.h"

class QPainter;

namespace brenvik {

class ControlCanvas;
class Image;

// The controls that draw themselves on a ControlCanvas: a shape (a filled rectangle), an image
// (its picture at its natural size from the top-left corner, optionally framed by a single line;
// with no picture nothing is drawn, so what lies behind shows through, and the image only
// catches the pointer's moves) and a picture box (its drawn text from the top-left corner,
// "\r\n" starting a new line, in a sunken border). A left-button release is the click.
class QtCanvasView : public QtControlView {
public:
    QtCanvasView(Control& control, QWidget* parent);

private:
    bool filterEvent(QObject* watched, QEvent* event) override;
    QRect place(QRect designed) override;
    void applyPicture() override;

    // The image this is, or null.
    Image* image_ = nullptr;
    ControlCanvas* canvas_;
};

} // namespace brenvik
