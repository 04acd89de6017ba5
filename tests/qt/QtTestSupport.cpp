#include "QtTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

namespace brenvik {

QtApp::QtApp() : platform(desktop, drives.fs(), settings, launcher) {
    settings.save("Brenvik", "Primoavvio", "eseguito", "1");
    settings.save("Brenvik", "opzioni", "about", "0");
    settings.save("Brenvik", "path", "initialdir", "c:\\");
}

QtApp::~QtApp() {
    // The windows go before the model they mirror.
    if (main_)
        if (QtFormView* view = desktop.existingView(*main_))
            view->hide();
}

MainWindow& QtApp::start() {
    main_ = std::make_unique<MainWindow>(platform);
    main_->show();
    return *main_;
}

QtFormView& QtApp::window() {
    return desktop.view(*main_);
}

QWidget* QtApp::widget(const std::string& name) {
    return window().findChild<QWidget*>(QString::fromStdString(name));
}

std::shared_ptr<SeenBox> answerNextBox(const QString& caption) {
    auto seen = std::make_shared<SeenBox>();
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, seen, caption] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(top);
            if (!box || !box->isVisible())
                continue;
            seen->shown = true;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            QAbstractButton* press = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                seen->buttons << b->text();
                if (b->text() == caption)
                    press = b;
            }
            timer->stop();
            timer->deleteLater();
            if (press)
                press->click();
            else
                box->reject();
            return;
        }
    });
    timer->start();
    return seen;
}

void clickAt(QWidget* w, QPoint at) {
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace brenvik
