#include "platform/qt/QtScrollBarView.h"

#include "platform/Controls.h"
#include "platform/qt/ArrowSpinner.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace brenvik {

QtScrollBarView::QtScrollBarView(Control& control, QWidget* parent)
    : QtControlView(control), bar_(static_cast<VScrollBar&>(control)) {
    const Geometry g = control.geometry();
    if (g.height < 3 * g.width) {
        spinner_ = new ArrowSpinner(parent);
        setWidget(spinner_);
        return;
    }
    track_ = new QScrollBar(Qt::Vertical, parent);
    track_->setSingleStep(0);
    track_->setPageStep(0);
    setWidget(track_);
}

void QtScrollBarView::connectUser() {
    if (spinner_) {
        // Value 0 is at the top: the upper arrow lowers the value, the lower one raises it.
        spinner_->onUp = [this] { user([this] { bar_.userLineUp(); }); };
        spinner_->onDown = [this] { user([this] { bar_.userLineDown(); }); };
        return;
    }
    connect(track_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            user([this] { bar_.userLineDown(); });
            break;
        case QAbstractSlider::SliderSingleStepSub:
            user([this] { bar_.userLineUp(); });
            break;
        case QAbstractSlider::SliderPageStepAdd:
            user([this] { bar_.userPageDown(); });
            break;
        case QAbstractSlider::SliderPageStepSub:
            user([this] { bar_.userPageUp(); });
            break;
        default:
            // A dragged thumb goes back where the model has it.
            applyValue();
            break;
        }
    });
}

void QtScrollBarView::applyValue() {
    if (!track_)
        return;
    QSignalBlocker block(track_);
    track_->setRange(bar_.min(), bar_.max());
    track_->setValue(bar_.value());
}

} // namespace brenvik
