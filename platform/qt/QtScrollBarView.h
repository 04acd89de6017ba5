#pragma once

#include "platform/qt/QtControlView.h"

class QScrollBar;

namespace brenvik {

class ArrowSpinner;
class VScrollBar;

// A vertical scroll bar: a QScrollBar, or an ArrowSpinner when it is too short for a track (less
// than three times as high as it is wide). The bar only reports which part the user pressed; the
// model moves the value.
class QtScrollBarView : public QtControlView {
public:
    QtScrollBarView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    void applyValue() override;

    VScrollBar& bar_;
    // One of the two.
    QScrollBar* track_ = nullptr;
    ArrowSpinner* spinner_ = nullptr;
};

} // namespace brenvik
