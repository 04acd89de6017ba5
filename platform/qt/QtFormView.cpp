#include "platform/qt/QtFormView.h"

#include "platform/UserAction.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtControlView.h"
#include "platform/qt/QtFonts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace brenvik {

QtFormView::QtFormView(Form& form) : QWidget(nullptr), form_(form) {
    setObjectName(QString::fromStdString(form.name()));
    setFont(toQFont(Font{}));
    for (Control* control : form.controls()) {
        QWidget* parent = this;
        if (control->container())
            if (QWidget* container = widgetOf(*control->container()))
                parent = container;
        std::unique_ptr<QtControlView> view = makeQtControlView(*control, parent);
        byControl_[control] = view.get();
        views_.push_back(std::move(view));
    }
    // Raising from the back to the front leaves the front control on top among its siblings.
    const auto& stacking = form.stacking();
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
        if (QWidget* w = widgetOf(**it))
            w->raise();
    QWidget* previous = nullptr;
    for (Control* control : form.tabOrder()) {
        QWidget* w = widgetOf(*control);
        if (!w || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    applyWindowLook();
    applySize();
    form.setView(this);
}

QtFormView::~QtFormView() {
    // The control views go first, so that no widget being destroyed reports to them.
    views_.clear();
}

QWidget* QtFormView::widgetOf(const Control& control) const {
    auto it = byControl_.find(&control);
    return it == byControl_.end() ? nullptr : it->second->widget();
}

void QtFormView::applyWindowLook() {
    Qt::WindowFlags flags;
    switch (form_.borderStyle()) {
    case BorderStyle::None:
        flags = Qt::Window | Qt::FramelessWindowHint;
        break;
    case BorderStyle::FixedToolWindow:
        flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case BorderStyle::FixedSingle:
    case BorderStyle::FixedDialog:
        flags = (form_.borderStyle() == BorderStyle::FixedDialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint |
                Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                Qt::MSWindowsFixedSizeDialogHint;
        if (form_.minButton())
            flags |= Qt::WindowMinimizeButtonHint;
        break;
    }
    setWindowFlags(flags);
    setWindowTitle(QString::fromStdString(form_.caption()));
    QIcon icon = pictures::icon(form_.icon());
    if (!icon.isNull())
        setWindowIcon(icon);
}

void QtFormView::applySize() {
    const BorderStyle style = form_.borderStyle();
    int width = QtControlView::pixels(form_.outerWidth() - frameWidthTwips(style));
    int height = QtControlView::pixels(form_.outerHeight() - frameHeightTwips(style));
    setFixedSize(std::max(1, width), std::max(1, height));
}

void QtFormView::applyFocus() {
    if (Control* focused = form_.focused())
        if (QWidget* w = widgetOf(*focused))
            if (!w->hasFocus())
                w->setFocus(Qt::OtherFocusReason);
}

void QtFormView::present() {
    if (!placed_) {
        placed_ = true;
        // Centred at the size the window was designed for, so that a window that grows from a
        // point after it is shown ends up centred too.
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen) {
            QRect area = screen->availableGeometry();
            QSize designed(QtControlView::pixels(form_.clientWidth()), QtControlView::pixels(form_.clientHeight()));
            move(area.center() - QPoint(designed.width() / 2, designed.height() / 2));
        }
    }
    show();
    raise();
    activateWindow();
    applyFocus();
}

void QtFormView::formChanged(Property what) {
    switch (what) {
    case Property::Caption:
        setWindowTitle(QString::fromStdString(form_.caption()));
        break;
    case Property::Geometry:
        applySize();
        break;
    case Property::Focus:
        applyFocus();
        break;
    case Property::Picture:
        update();
        break;
    default:
        break;
    }
}

void QtFormView::closeEvent(QCloseEvent* event) {
    // The model decides: it may refuse, or hide or unload the window, which the desktop follows.
    event->ignore();
    runUserAction(form_.platform(), [this] { form_.userClose(); });
}

void QtFormView::paintEvent(QPaintEvent*) {
    if (form_.picture().empty())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, pictures::natural(form_.picture()));
}

} // namespace brenvik
