#pragma once

#include <QString>
#include <QWidget>

namespace brenvik {

// The widget of a frame: an etched rectangle whose top edge runs through the middle of its
// caption, the caption drawn over the line near the left. Its contents are placed relative to
// its outer top-left corner, caption included.
class CaptionFrame : public QWidget {
public:
    explicit CaptionFrame(QWidget* parent);

    const QString& title() const { return title_; }
    void setTitle(const QString& title);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
};

} // namespace brenvik
