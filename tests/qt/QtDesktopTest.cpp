#include "platform/qt/QtDesktop.h"

#include "QtTestSupport.h"
#include "platform/Controls.h"
#include "platform/IniSettingsStore.h"
#include "platform/Platform.h"
#include "platform/qt/QtFormView.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDrives.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace brenvik {
namespace {

// While a message box is up, reads its buttons and presses the one captioned `press`.
struct BoxDriver {
    QString press;
    QStringList captions;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QTimer timer;

    explicit BoxDriver(QString button) : press(std::move(button)) {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer.stop();
            title = box->windowTitle();
            icon = box->icon();
            text = box->text();
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                captions << b->text();
                if (b->text() == press)
                    chosen = b;
            }
            if (chosen)
                chosen->click();
            else
                box->reject();
        });
        timer.start();
    }
};

TEST(QtDesktopTest, MessageBoxesShowItalianButtonsAndReturnTheOnePressed) {
    struct Case {
        int flags;
        QStringList captions;
        QString press; // "<none>" closes the box as Escape does
        int answer;
        QMessageBox::Icon icon;
    };
    using Icon = QMessageBox::Icon;
    const Case cases[] = {
        {mb::OK | mb::Information, {"OK"}, "OK", mb::IdOK, Icon::Information},
        {mb::OKCancel, {"OK", "Annulla"}, "Annulla", mb::IdCancel, Icon::NoIcon},
        {mb::OK | mb::Exclamation, {"OK"}, "OK", mb::IdOK, Icon::Warning},
        {mb::AbortRetryIgnore | mb::Critical,
         {"Interrompi", "Riprova", "Ignora"},
         "Riprova",
         mb::IdRetry,
         Icon::Critical},
        {mb::AbortRetryIgnore | mb::Critical,
         {"Interrompi", "Riprova", "Ignora"},
         "Ignora",
         mb::IdIgnore,
         Icon::Critical},
        {mb::YesNo | mb::Question, {"Sì", "No"}, "Sì", mb::IdYes, Icon::Question},
        {mb::YesNo | mb::Question, {"Sì", "No"}, "No", mb::IdNo, Icon::Question},
        {mb::YesNo, {"Sì", "No"}, "<none>", mb::IdNo, Icon::NoIcon},
        {mb::RetryCancel | mb::Exclamation, {"Riprova", "Annulla"}, "Riprova", mb::IdRetry, Icon::Warning},
        {mb::RetryCancel, {"Riprova", "Annulla"}, "<none>", mb::IdCancel, Icon::NoIcon},
    };
    QtDesktop desktop;
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.flags) + " " + c.press.toStdString();
        BoxDriver driver(c.press);
        EXPECT_EQ(desktop.messageBox("Sicuro di voler uscire", c.flags, "Error!"), c.answer) << label;
        QStringList sorted = driver.captions;
        QStringList expected = c.captions;
        sorted.sort();
        expected.sort();
        EXPECT_EQ(sorted, expected) << label;
        EXPECT_EQ(driver.icon, c.icon) << label;
        EXPECT_EQ(driver.title, QString("Error!")) << label;
        EXPECT_EQ(driver.text, QString("Sicuro di voler uscire")) << label;
    }
}

// A window with nothing but its frame, to show through the Qt desktop.
class PlainWindow : public Form {
public:
    PlainWindow(Platform& platform, BorderStyle border, bool minButton)
        : Form(platform, "plain"), border_(border), min_(minButton) {
        applyDesign();
    }
    std::function<void()> onActivate;

protected:
    void design() override {
        setWindow("Finestra", border_, 4140, 1515);
        setButtons(min_, false);
    }
    void Form_Activate() override {
        if (onActivate)
            onActivate();
    }

private:
    BorderStyle border_;
    bool min_;
};

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
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class QtDesktopWindowTest : public ::testing::Test {
protected:
    QtDesktopWindowTest() : platform(desktop, drives.fs(), settings, launcher) {}
    QtDesktop desktop;
    TestDrives drives;
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform;
};

TEST_F(QtDesktopWindowTest, ModalWindowRunsUntilTheModelHidesIt) {
    PlainWindow owner(platform, BorderStyle::FixedSingle, true);
    PlainWindow dialog(platform, BorderStyle::FixedSingle, false);
    owner.show();
    QtFormView* ownerView = desktop.existingView(owner);
    ASSERT_NE(ownerView, nullptr);
    EXPECT_TRUE(ownerView->isVisible());
    EXPECT_EQ(ownerView->windowModality(), Qt::NonModal) << "the first window is not modal";
    EXPECT_TRUE(ownerView->windowFlags() & Qt::WindowMinimizeButtonHint);

    bool wasModal = false;
    QTimer::singleShot(20, [&] {
        QtFormView* v = desktop.existingView(dialog);
        wasModal = v && v->isVisible() && v->windowModality() == Qt::ApplicationModal;
        dialog.hide();
    });
    dialog.showModal();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(desktop.existingView(dialog)->isVisible());
    EXPECT_FALSE(desktop.existingView(dialog)->windowFlags() & Qt::WindowMinimizeButtonHint);

    // Closing from the frame unloads a window that does not refuse, which ends its loop too.
    QTimer::singleShot(20, [&] { desktop.existingView(dialog)->close(); });
    dialog.showModal();
    EXPECT_FALSE(dialog.loaded());
    EXPECT_FALSE(desktop.existingView(dialog)->isVisible());
    owner.hide();
}

TEST_F(QtDesktopWindowTest, RefreshPaintsChangesWithoutHandlingInputAtMostThirtyTimesASecond) {
    StatusWindow w(platform);
    w.show();
    desktop.yield();
    QWidget* label = qttest::widget(desktop.view(w), "info");
    ASSERT_NE(label, nullptr);
    PaintCounter counter;
    label->installEventFilter(&counter);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });

    w.info.setCaption("Creando film.avi.000   # 1 of  3");
    desktop.refresh();
    EXPECT_EQ(counter.paints, 1) << "the changed label is painted at once";
    w.info.setCaption("Creando film.avi.001   # 2 of  3");
    desktop.refresh();
    EXPECT_EQ(counter.paints, 1) << "a refresh sooner than 33 ms after the last one paints nothing";
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    desktop.refresh();
    EXPECT_EQ(counter.paints, 2);
    EXPECT_FALSE(timerRan) << "no queued event but paints is handled";
    label->removeEventFilter(&counter);
    w.hide();
}

TEST_F(QtDesktopWindowTest, OuterSizeResizesTheWindowDownToAPoint) {
    PlainWindow dialog(platform, BorderStyle::FixedSingle, false);
    std::vector<QSize> sizes;
    dialog.onActivate = [&] {
        dialog.setOuterSize(1, 1);
        sizes.push_back(desktop.existingView(dialog)->size());
        dialog.setOuterSize(4230, 1890);
        sizes.push_back(desktop.existingView(dialog)->size());
        dialog.hide();
    };
    dialog.showModal();
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], QSize(1, 1));
    EXPECT_EQ(sizes[1], QSize((4230 - 90) / 15, (1890 - 375) / 15));
}

TEST_F(QtDesktopWindowTest, BorderStylesGiveTheirFrames) {
    PlainWindow bare(platform, BorderStyle::None, false);
    PlainWindow tool(platform, BorderStyle::FixedToolWindow, false);
    QtFormView& bareView = desktop.view(bare);
    QtFormView& toolView = desktop.view(tool);
    EXPECT_TRUE(bareView.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(bareView.size(), QSize(276, 101)) << "no frame is taken off a borderless window";
    EXPECT_EQ(toolView.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(&desktop.view(bare), &bareView) << "one window per form";
}

} // namespace
} // namespace brenvik
