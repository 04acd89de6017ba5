#include "platform/qt/QtDesktop.h"

#include "QtTestSupport.h"
#include "platform/Controls.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/qt/QtFormView.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDrives.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(QtDesktopTest, MessageBoxesShowItalianButtonsAndEscapeGivesUpOnlyWhereAButtonDoes) {
    struct Case {
        int flags;
        QStringList captions; // sorted
        int escape;           // what Escape answers; 0 where it and the close box do nothing
        QString press;        // then pressed, where they do nothing
        int answer;
    };
    const Case cases[] = {
        {mb::OK | mb::Information, {"OK"}, mb::IdOK, {}, mb::IdOK},
        {mb::OKCancel, {"Annulla", "OK"}, mb::IdCancel, {}, mb::IdCancel},
        {mb::AbortRetryIgnore | mb::Critical, {"Ignora", "Interrompi", "Riprova"}, 0, "Ignora", mb::IdIgnore},
        {mb::YesNo | mb::Question, {"No", "Sì"}, 0, "Sì", mb::IdYes},
        {mb::RetryCancel | mb::Exclamation, {"Annulla", "Riprova"}, mb::IdCancel, {}, mb::IdCancel},
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
        EXPECT_EQ(outlivedEscape, c.escape == 0) << label;
        EXPECT_EQ(outlivedClose, c.escape == 0) << label;
    }
}

// A window with one status label, to watch its paints.
class StatusWindow : public Form {
public:
    explicit StatusWindow(Platform& platform) : Form(platform, "status"), info(add<Label>("info")) { applyDesign(); }
    Label& info;

protected:
    void design() override {
        setWindow("Stato", BorderStyle::FixedSingle, 4140, 1515);
        info.setGeometry({120, 120, 3000, 300});
    }
};

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

TEST(QtDesktopWindowTest, ModalLoopEndsWithTheWindowAndRefreshPaintsWithoutHandlingInput) {
    QtDesktop desktop;
    TestDrives drives;
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform(desktop, drives.fs(), settings, launcher);
    StatusWindow w(platform);
    StatusWindow dialog(platform);
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
    QWidget* label = qttest::widget(desktop.view(w), "info");
    PaintCounter counter;
    label->installEventFilter(&counter);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    w.info.setCaption("Creando film.avi.000   # 1 of  3");
    desktop.refresh();
    EXPECT_EQ(counter.paints, 1) << "the changed label is painted at once";
    EXPECT_FALSE(timerRan) << "no queued event but paints is handled";
    label->removeEventFilter(&counter);
    w.hide();
}

} // namespace
} // namespace brenvik
