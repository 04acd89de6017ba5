#pragma once

#include "platform/qt/QtControlView.h"

class QLabel;

namespace brenvik {

class CaptionFrame;
class Label;

// The frames and labels: controls that show a caption and take no focus. A left-button release
// on one is its click.

// A frame: a CaptionFrame, its caption without the access marks.
class QtFrameView : public QtControlView {
public:
    QtFrameView(Control& control, QWidget* parent);

private:
    bool filterEvent(QObject* watched, QEvent* event) override;
    void applyStyle(QPalette& palette) override;
    void applyCaption() override;

    CaptionFrame* frame_;
};

// A label: its caption exactly as it is (file names may hold "&"), placed by placeLabel, so that
// no label is drawn narrower than a one-line caption the host's font makes wider.
class QtLabelView : public QtControlView {
public:
    QtLabelView(Control& control, QWidget* parent);

private:
    bool filterEvent(QObject* watched, QEvent* event) override;
    QRect place(QRect designed) override;
    void applyStyle(QPalette& palette) override;
    void applyCaption() override;
    QString shownCaption(const QString& caption) const override { return caption; }
    // A status line or a counter that a command changes at every step is drawn at its last state.
    bool holds(Property what) const override { return what == Property::Caption || QtControlView::holds(what); }

    Label& label_;
    QLabel* text_;
};

} // namespace brenvik
