#include "platform/qt/QtDesktop.h"

#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtControlView.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtFormView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace brenvik {

namespace {

struct BoxButton {
    const char* caption;
    int answer;
    QMessageBox::ButtonRole role;
};

// The buttons of each set, in the order they stand, and the one that Escape and the frame's
// close button press, as on Windows: the one that gives up where there is one (Annulla; OK alone),
// none for Interrompi/Riprova/Ignora and Sì/No, which demand an answer. `unanswered` is what a
// box that ends without a button (the program being ended) reports.
std::vector<BoxButton> buttonsOf(int set, int& escapeAnswer, int& unanswered) {
    const BoxButton ok{"OK", mb::IdOK, QMessageBox::AcceptRole};
    const BoxButton cancel{"Annulla", mb::IdCancel, QMessageBox::RejectRole};
    const BoxButton yes{"Sì", mb::IdYes, QMessageBox::YesRole};
    const BoxButton no{"No", mb::IdNo, QMessageBox::NoRole};
    const BoxButton abort{"Interrompi", mb::IdAbort, QMessageBox::AcceptRole};
    const BoxButton retry{"Riprova", mb::IdRetry, QMessageBox::AcceptRole};
    const BoxButton ignore{"Ignora", mb::IdIgnore, QMessageBox::AcceptRole};
    switch (set) {
    case mb::OKCancel:
        escapeAnswer = unanswered = mb::IdCancel;
        return {ok, cancel};
    case mb::AbortRetryIgnore:
        escapeAnswer = 0;
        unanswered = mb::IdAbort;
        return {abort, retry, ignore};
    case mb::YesNoCancel:
        escapeAnswer = unanswered = mb::IdCancel;
        return {yes, no, cancel};
    case mb::YesNo:
        escapeAnswer = 0;
        unanswered = mb::IdNo;
        return {yes, no};
    case mb::RetryCancel:
        escapeAnswer = unanswered = mb::IdCancel;
        return {retry, cancel};
    default:
        escapeAnswer = unanswered = mb::IdOK;
        return {ok};
    }
}

// A message box that Escape and the close box leave open when no button gives up.
class AnswerBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool demandsAnswer = false;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (demandsAnswer && e->matches(QKeySequence::Cancel)) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        if (demandsAnswer) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }
};

QMessageBox::Icon iconOf(int flags) {
    switch (flags & mb::IconMask) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtDesktop::QtDesktop() = default;
QtDesktop::~QtDesktop() = default;

void QtDesktop::prepareApplication(QApplication& app) {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
    QApplication::setFont(toQFont(Font{}));
    app.setWindowIcon(pictures::icon("brenvik"));
    // Ties the windows to the menu entry that started them (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tavora.Brenvik"));
    // Every word on screen is Italian, whatever the user's language: Qt's own texts too (the
    // text boxes' context menus, the scroll bars' menus), from Qt's Italian catalogue.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qt_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

int QtDesktop::messageBox(const std::string& text, int flags, const std::string& title) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QString body = QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    AnswerBox box(iconOf(flags), QString::fromStdString(title), body, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    int escapeAnswer = 0;
    int unanswered = mb::IdOK;
    std::vector<std::pair<QAbstractButton*, int>> answers;
    for (const BoxButton& b : buttonsOf(flags & mb::ButtonsMask, escapeAnswer, unanswered)) {
        QPushButton* button = box.addButton(QString::fromUtf8(b.caption), b.role);
        answers.emplace_back(button, b.answer);
        if (b.answer == escapeAnswer)
            box.setEscapeButton(button);
    }
    if (escapeAnswer == 0) {
        box.demandsAnswer = true;
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
    }
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button)
            return answer;
    return unanswered;
}

QtFormView& QtDesktop::view(Form& form) {
    auto& slot = views_[&form];
    if (!slot)
        slot = std::make_unique<QtFormView>(form);
    return *slot;
}

QtFormView* QtDesktop::existingView(const Form& form) const {
    auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

void QtDesktop::formShown(Form& form) {
    QtFormView& window = view(form);
    // The windows opened from another one are modal; the first one (the main window) is not.
    if (!window.isVisible())
        window.setWindowModality(form.platform().activeForms.empty() ? Qt::NonModal : Qt::ApplicationModal);
    window.present();
}

void QtDesktop::formHidden(Form& form) {
    leave(form);
}

void QtDesktop::formUnloaded(Form& form) {
    leave(form);
}

void QtDesktop::leave(Form& form) {
    if (QtFormView* window = existingView(form))
        window->hide();
    auto loop = loops_.find(&form);
    if (loop != loops_.end())
        loop->second->quit();
}

void QtDesktop::runModal(Form& form) {
    if (!form.visible())
        return;
    QEventLoop loop;
    auto previous = loops_.find(&form);
    QEventLoop* outer = previous == loops_.end() ? nullptr : previous->second;
    loops_[&form] = &loop;
    loop.exec(QEventLoop::DialogExec);
    if (outer)
        loops_[&form] = outer;
    else
        loops_.erase(&form);
}

void QtDesktop::yield() {
    // Handles what is queued, waits for the window system to catch up (a window just shown gets
    // exposed), then paints what that brought.
    QGuiApplication::sync();
}

void QtDesktop::paintPending() {
    QtControlView::releaseAllHeld();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void QtDesktop::handleEventsUntil(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtDesktop::wake() {
    // A queued call reaches the user-interface thread in whichever loop it runs, a message box's
    // or a modal window's included.
    QMetaObject::invokeMethod(
        qApp, [this] { runPosted(); }, Qt::QueuedConnection);
}

void QtDesktop::pause(int milliseconds) {
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtDesktop::pauseAnswering(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), &loop, &QEventLoop::quit);
    // The user's input stays queued for after the pause, as it would through a plain one.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtDesktop::beep() {
    QApplication::beep();
}

void QtDesktop::endProgram() {
    // The end is immediate by design: no window's closing events may run (they would ask the
    // exit question again or save again), and nothing needs saving, since the settings store
    // writes every value through to the disk as it is saved. Leaving through exit() or the event
    // loop would run the windows' and Qt's teardown, which can deliver such events; _Exit skips
    // all of it, so only the standard streams need flushing first.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace brenvik
