#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <string>

namespace brenvik::qttest {

// The widget named after a control, anywhere under `root`.
template <typename W = QWidget>
W* widget(QWidget& root, const std::string& name) {
    return root.findChild<W*>(QString::fromStdString(name));
}

inline void sendMouseMove(QWidget* target, QPoint at = {2, 2}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

} // namespace brenvik::qttest
