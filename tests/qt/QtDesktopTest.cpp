// The Qt desktop: its message boxes, modal loops and refresh.
#include "platform/qt/QtDesktop.h"

#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace brenvik {
namespace {

// A window with a label, to show, make modal and repaint.
class SampleForm : public Form {
public:
    explicit SampleForm(Platform& platform) : Form(platform, "sample"), label(add<Label>("label")) { applyDesign(); }

    Label& label;

protected:
    void design() override {
        setWindow("Prova", BorderStyle::FixedSingle, 6000, 6000);
        label.setGeometry({120, 120, 3000, 300});
    }
};

TEST(QtDesktopTest, MessageBoxesShowItalianButtonsAndEscapeGivesUpOnlyWhereAButtonDoes) {
    struct Case {
        int flags;
        QStringList captions; // sorted
        QString press;        // pressed where Escape and the close box do nothing; empty where Escape answers
        int answer;
    };
    const Case cases[] = {
        {mb::OK | mb::Information, {"OK"}, {}, mb::IdOK},
        {mb::OKCancel, {"Annulla", "OK"}, {}, mb::IdCancel},
        {mb::AbortRetryIgnore | mb::Critical, {"Ignora", "Interrompi", "Riprova"}, "Ignora", mb::IdIgnore},
        {mb::YesNo | mb::Question, {"No", "Sì"}, "Sì", mb::IdYes},
        {mb::RetryCancel | mb::Exclamation, {"Annulla", "Riprova"}, {}, mb::IdCancel},
    };
    QtDesktop desktop;
    for (const Case& c : cases) {
        QStringList captions;
        bool outlivedEscape = false;
        bool outlivedClose = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            for (QAbstractButton* b : box->buttons())
                captions << b->text();
            QTest::keyClick(box, Qt::Key_Escape);
            // A button that Escape presses clicks after its animation.
            QTimer::singleShot(400, box, [&, box] {
                outlivedEscape = true;
                box->close();
                QApplication::processEvents();
                outlivedClose = box->isVisible();
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == c.press)
                        b->click();
            });
        });
        timer.start(5);
        const std::string label = std::to_string(c.flags);
        EXPECT_EQ(desktop.messageBox("Sicuro di voler uscire", c.flags, "Error!"), c.answer) << label;
        captions.sort();
        EXPECT_EQ(captions, c.captions) << label;
        EXPECT_EQ(outlivedEscape, !c.press.isEmpty()) << label;
        EXPECT_EQ(outlivedClose, !c.press.isEmpty()) << label;
    }
}

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST(QtDesktopTest, ModalLoopEndsWithTheWindowAndRefreshPaintsWithoutHandlingInput) {
    TestApp app;
    QtDesktop desktop;
    Platform platform(desktop, app.files, app.files, app.settings, app.launcher);
    SampleForm w(platform);
    SampleForm dialog(platform);
    w.show();
    bool wasModal = false;
    QTimer::singleShot(20, [&] {
        QtFormView* v = desktop.existingView(dialog);
        wasModal = v && v->isVisible() && v->windowModality() == Qt::ApplicationModal;
        dialog.hide();
    });
    dialog.showModal();
    EXPECT_TRUE(wasModal);
    // Closing from the frame unloads a window that does not refuse, which ends its loop too.
    QTimer::singleShot(20, [&] { desktop.existingView(dialog)->close(); });
    dialog.showModal();
    EXPECT_FALSE(dialog.loaded());

    desktop.yield();
    QWidget* label = desktop.view(w).findChild<QWidget*>("label");
    PaintCounter counter;
    label->installEventFilter(&counter);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    w.label.setCaption("Creando film.avi.000   # 1 of  3");
    desktop.refresh();
    EXPECT_EQ(counter.paints, 1) << "the changed label is painted at once";
    EXPECT_FALSE(timerRan) << "no queued event but paints is handled";
    label->removeEventFilter(&counter);
    w.hide();
}

} // namespace
} // namespace brenvik
