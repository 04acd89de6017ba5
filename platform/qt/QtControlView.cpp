#include "platform/qt/QtControlView.h"

#include "platform/Form.h"
#include "platform/UserAction.h"
#include "platform/qt/QtButtonView.h"
#include "platform/qt/QtCanvasView.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtListViews.h"
#include "platform/qt/QtScrollBarView.h"
#include "platform/qt/QtStaticViews.h"
#include "platform/qt/QtTextBoxView.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <utility>

namespace brenvik {

namespace {

// The frame that holds `control`, or else the smallest frame beside it whose rectangle holds
// it (a control placed over a frame without being inside it); null when there is none.
const Control* enclosingFrame(const Control& control) {
    if (const Control* container = control.container(); container && container->kind() == ControlKind::Frame)
        return container;
    const Geometry g = control.geometry();
    const Control* best = nullptr;
    for (const Control* other : control.form().controls()) {
        if (other == &control || other->kind() != ControlKind::Frame || other->container() != control.container())
            continue;
        const Geometry f = other->geometry();
        if (g.left >= f.left && g.top >= f.top && g.left + g.width <= f.left + f.width &&
            g.top + g.height <= f.top + f.height && (!best || f.width * f.height < best->width() * best->height()))
            best = other;
    }
    return best;
}

std::unique_ptr<QtControlView> familyView(Control& control, QWidget* parent) {
    switch (control.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return std::make_unique<QtButtonView>(control, parent);
    case ControlKind::TextBox:
        return std::make_unique<QtTextBoxView>(control, parent);
    case ControlKind::DriveList:
        return std::make_unique<QtDriveListView>(control, parent);
    case ControlKind::DirList:
        return std::make_unique<QtDirListView>(control, parent);
    case ControlKind::FileList:
        return std::make_unique<QtFileListView>(control, parent);
    case ControlKind::Frame:
        return std::make_unique<QtFrameView>(control, parent);
    case ControlKind::Label:
        return std::make_unique<QtLabelView>(control, parent);
    case ControlKind::Shape:
    case ControlKind::Image:
    case ControlKind::PictureBox:
        return std::make_unique<QtCanvasView>(control, parent);
    case ControlKind::VScrollBar:
        return std::make_unique<QtScrollBarView>(control, parent);
    }
    return nullptr;
}

} // namespace

namespace {

// The views holding changes, on the user-interface thread.
std::vector<QtControlView*>& holding() {
    static std::vector<QtControlView*> views;
    return views;
}

} // namespace

std::unique_ptr<QtControlView> makeQtControlView(Control& control, QWidget* parent) {
    std::unique_ptr<QtControlView> view = familyView(control, parent);
    view->attach();
    return view;
}

int QtControlView::pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QtControlView::QtControlView(Control& control) : control_(control) {}

QtControlView::~QtControlView() {
    auto& views = holding();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

void QtControlView::setWidget(QWidget* widget, QWidget* viewport) {
    widget_ = widget;
    viewport_ = viewport;
}

void QtControlView::attach() {
    widget_->setObjectName(qs(control_.name()));
    watch(widget_);
    if (viewport_)
        watch(viewport_);
    applyAll();
    connectUser();
    control_.setView(this);
}

void QtControlView::watch(QWidget* w) {
    w->installEventFilter(this);
    // Every control reports the pointer moving over it; a move is never passed on to the
    // container behind, which is a different control.
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

void QtControlView::changed(Property what) {
    if (!holds(what)) {
        PropertyView::changed(what);
        return;
    }
    if (std::find(held_.begin(), held_.end(), what) != held_.end())
        return;
    if (held_.empty()) {
        holding().push_back(this);
        QMetaObject::invokeMethod(
            this, [this] { releaseHeld(); }, Qt::QueuedConnection);
    }
    held_.push_back(what);
}

void QtControlView::releaseHeld() {
    if (held_.empty())
        return;
    auto& views = holding();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    for (Property what : std::exchange(held_, {}))
        PropertyView::changed(what);
}

void QtControlView::releaseAllHeld() {
    const std::vector<QtControlView*> views = holding(); // releasing changes the list
    for (QtControlView* view : views)
        view->releaseHeld();
}

void QtControlView::user(const std::function<void()>& action) {
    runUserAction(control_.form().platform(), action);
    resync(control_);
}

namespace {

// The keys, clicks, wheel turns and shortcuts a control takes as input.
bool isInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

bool QtControlView::eventFilter(QObject* watched, QEvent* event) {
    // While work runs aside the window takes input only on the controls that answer while busy;
    // the widget would otherwise show a change the model refuses.
    if (control_.form().inputHeld() && !control_.reachable() && isInput(event))
        return true;
    // The user acts on what the model holds now, not on a state the widget has yet to show.
    if (isInput(event))
        releaseHeld();
    switch (event->type()) {
    case QEvent::MouseMove:
        runUserAction(control_.form().platform(), [this] { control_.userMouseMove(); });
        return false;
    case QEvent::FocusIn:
        if (control_.focusable() && watched == widget_)
            runUserAction(control_.form().platform(), [this] { control_.setFocus(); });
        return false;
    default:
        return filterEvent(watched, event);
    }
}

bool QtControlView::clickOnRelease(QObject* watched, QEvent* event, const std::function<void()>& before) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* w = static_cast<QWidget*>(watched);
    if (mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint())) {
        user([this, &before] {
            if (before)
                before();
            control_.userClick();
        });
    }
    return false;
}

void QtControlView::applyGeometry() {
    const Geometry g = control_.geometry();
    widget_->setGeometry(place(QRect(pixels(g.left), pixels(g.top), pixels(g.width), pixels(g.height))));
}

void QtControlView::applyCaption() {
    applyAccessibleName();
}

void QtControlView::applyToolTip() {
    widget_->setToolTip(qs(control_.toolTip()));
    applyAccessibleName();
}

void QtControlView::applyAccessibleName() {
    // What a screen reader says for the control: the caption exactly as a sighted user reads it
    // (a label shows its "&" and its spaces; a button's "&" marks its access key), else the tool
    // tip, else (for a list or box without either) the caption of the frame it stands in or on.
    QString name = shownCaption(qs(control_.caption()));
    if (name.trimmed().isEmpty())
        name = qs(control_.toolTip());
    if (name.trimmed().isEmpty())
        if (const Control* frame = enclosingFrame(control_))
            name = withoutAccessMarks(qs(frame->caption()));
    widget_->setAccessibleName(name);
}

QString QtControlView::shownCaption(const QString& caption) const {
    return withoutAccessMarks(caption);
}

void QtControlView::applyEnabled() {
    widget_->setEnabled(control_.enabled());
}

void QtControlView::applyVisible() {
    widget_->setVisible(control_.visible());
}

void QtControlView::applyDrawing() {
    widget_->update();
}

void QtControlView::setColors(QPalette& palette, QPalette::ColorRole fore, QPalette::ColorRole back) const {
    const QColor color = toQColor(control_.foreColor());
    // Only the enabled colours: a disabled control keeps the style's greyed text.
    palette.setColor(QPalette::Active, fore, color);
    palette.setColor(QPalette::Inactive, fore, color);
    palette.setColor(QPalette::All, back, palette.color(QPalette::Active, back));
}

void QtControlView::applyLook() {
    widget_->setFont(toQFont(control_.font()));
    QPalette palette = widget_->palette();
    applyStyle(palette);
    widget_->setPalette(palette);
    widget_->update();
    applyGeometry();
}

} // namespace brenvik
