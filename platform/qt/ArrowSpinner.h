#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

namespace brenvik {

// A vertical scroll bar too short for a track: two arrow buttons, one above the other. Pressing
// an arrow (or Up / Down while it has the focus) steps once, and again and again while it is held.
class ArrowSpinner : public QWidget {
public:
    explicit ArrowSpinner(QWidget* parent);

    std::function<void()> onUp;
    std::function<void()> onDown;

    // Presses and releases an arrow, as a click on it does.
    void stepUp();
    void stepDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Part { None, Up, Down };
    void step(Part part, int repeatAfterMs);
    void release();
    QRect partRect(Part part) const;

    Part pressed_ = Part::None;
    bool stepping_ = false;
    QTimer repeat_;
};

} // namespace brenvik
