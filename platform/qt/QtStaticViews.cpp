#include "platform/qt/QtStaticViews.h"

#include "platform/Controls.h"
#include "platform/Layout.h"
#include "platform/qt/CaptionFrame.h"
#include "platform/qt/QtConvert.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

namespace brenvik {

namespace {

Qt::Alignment toQtAlignment(Align a) {
    switch (a) {
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

} // namespace

// ---- Frame

QtFrameView::QtFrameView(Control& control, QWidget* parent) : QtControlView(control), frame_(new CaptionFrame(parent)) {
    setWidget(frame_);
}

bool QtFrameView::filterEvent(QObject* watched, QEvent* event) {
    return clickOnRelease(watched, event);
}

void QtFrameView::applyStyle(QPalette& palette) {
    setColors(palette, QPalette::WindowText, QPalette::Window);
}

void QtFrameView::applyCaption() {
    {
        QSignalBlocker block(frame_);
        frame_->setTitle(withoutAccessMarks(qs(control().caption())));
    }
    QtControlView::applyCaption();
}

// ---- Label

QtLabelView::QtLabelView(Control& control, QWidget* parent)
    : QtControlView(control), label_(static_cast<Label&>(control)), text_(new QLabel(parent)) {
    text_->setTextFormat(Qt::PlainText);
    setWidget(text_);
}

bool QtLabelView::filterEvent(QObject* watched, QEvent* event) {
    return clickOnRelease(watched, event);
}

QRect QtLabelView::place(QRect designed) {
    const QFontMetrics metrics(text_->font());
    TextMeasure text;
    text.empty = text_->text().isEmpty();
    const QStringList lines = text_->text().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        text.width = std::max(text.width, metrics.horizontalAdvance(line));
    text.height = metrics.height() * static_cast<int>(lines.size());
    text.lineHeight = metrics.height();
    text.lineSpacing = metrics.lineSpacing();
    const LabelPlace placed =
        placeLabel(label_, {designed.x(), designed.y(), designed.width(), designed.height()}, text, [this](int width) {
            text_->setWordWrap(true);
            return text_->heightForWidth(width);
        });
    text_->setWordWrap(placed.wraps);
    return QRect(placed.rect.left, placed.rect.top, placed.rect.width, placed.rect.height);
}

void QtLabelView::applyStyle(QPalette& palette) {
    setColors(palette, QPalette::WindowText, QPalette::Window);
    text_->setAlignment(toQtAlignment(label_.alignment()));
    text_->setAutoFillBackground(!label_.transparent());
}

void QtLabelView::applyCaption() {
    {
        QSignalBlocker block(text_);
        // Labels carry file names, which may hold "&": the caption is shown exactly as it is.
        text_->setText(qs(control().caption()).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        applyGeometry();
    }
    QtControlView::applyCaption();
}

} // namespace brenvik
