// The Qt front end's pieces under the program's windows: the desktop's message boxes, modal loops
// and refresh, the control views and the arrow spinner.
#include "dialogs/AboutWindow.h"
#include "mainwindow/MainWindow.h"
#include "platform/qt/ArrowSpinner.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <utility>

namespace brenvik {
namespace {

// A window with one control of each kind the renderer handles; its handlers write into `events`.
class SampleForm : public Form {
public:
    explicit SampleForm(Platform& platform) : Form(platform, "sample") {
        keys.onKeyDown = [this](int key, int shift) { log(std::to_string(key) + "/" + std::to_string(shift)); };
        plain.onChange = [this] { log("plain " + plain.text()); };
        opt1.onClick = [this] { log("opt1"); };
        spin.onChange = [this] { log("spin " + std::to_string(spin.value())); };
        files.onClick = [this] { log("files"); };
        dirs.onClick = [this] { log("dirs"); };
        image.onMouseMove = [this] { log("image"); };
        applyDesign();
    }
    void log(std::string e) { events.push_back(std::move(e)); }
    std::vector<std::string> take() { return std::exchange(events, {}); } // the events so far

    TextBox &keys = add<TextBox>("keys"), &plain = add<TextBox>("plain");
    OptionButton &opt1 = add<OptionButton>("opt1"), &opt2 = add<OptionButton>("opt2");
    VScrollBar& spin = add<VScrollBar>("spin");
    FileList& files = add<FileList>("files");
    DirList& dirs = add<DirList>("dirs");
    Label& label = add<Label>("label");
    Image& image = add<Image>("image");
    std::vector<std::string> events;

protected:
    void design() override {
        // Only what changes a widget's kind or behaviour: a short scroll bar is a spinner.
        setWindow("Prova", BorderStyle::FixedSingle, 6000, 6000);
        opt1.setValue(true);
        plain.setMaxLength(4);
        spin.setGeometry({150, 2000, 255, 315});
        spin.setRange(0, 1000);
        spin.setValue(500);
        spin.setChanges(100, 1);
        files.setMultiSelect(true);
        label.setGeometry({120, 120, 3000, 300});
    }
};

class QtFrontEndTest : public ::testing::Test {
protected:
    QtFrontEndTest() : form(app.platform) {
        app.drives.makeFolders("c:\\uno\\due");
        app.drives.write("c:\\uno\\a.bin", "a");
        app.drives.write("c:\\uno\\b.bin", "b");
        form.load();
        form.files.setPath("c:\\uno");
        form.dirs.setPath("c:\\uno");
        view = std::make_unique<QtFormView>(form);
        form.take();
    }

    TestApp app;
    SampleForm form;
    std::unique_ptr<QtFormView> view;
};

using Events = std::vector<std::string>;

TEST_F(QtFrontEndTest, TextBoxesForwardKeysAndEditsAndFollowTheModel) {
    // A watched box hands every key to the model with its virtual code; the model, not Qt, edits.
    auto* edit = view->findChild<QLineEdit*>("keys");
    QTest::keyClick(edit, Qt::Key_7);
    QTest::keyClick(edit, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(form.take(), (Events{"55/0", "101/0", "16/1", "65/1", "37/0", "8/0"}));
    EXPECT_EQ(edit->text(), QString("75"));
    form.keys.setLocked(true);
    QTest::keyClick(edit, Qt::Key_9);
    EXPECT_EQ(form.take(), Events{"57/0"});
    EXPECT_EQ(edit->text(), QString("75")) << "a locked box hears the key but is not edited";

    // A plain box edits natively within its length limit.
    QTest::keyClicks(view->findChild<QLineEdit*>("plain"), "abcde");
    EXPECT_EQ(form.take(), (Events{"plain a", "plain ab", "plain abc", "plain abcd"}));
}

TEST_F(QtFrontEndTest, ButtonsSpinnerImageAndLabelsForwardAndFollowTheModel) {
    auto* opt1 = view->findChild<QAbstractButton*>("opt1");
    view->findChild<QAbstractButton*>("opt2")->click();
    EXPECT_TRUE(form.opt2.value());
    EXPECT_FALSE(opt1->isChecked()) << "the model's exclusivity reaches the other button";
    opt1->click();

    // A short scroll bar is a two-arrow spinner; value 0 is at the top; a step that throws leaves
    // it working; disabled, it is still.
    auto* spinner = view->findChild<ArrowSpinner*>("spin");
    const std::function<void()> up = std::exchange(spinner->onUp, [] { throw std::runtime_error("step"); });
    EXPECT_THROW(spinner->stepUp(), std::runtime_error);
    spinner->onUp = up;
    spinner->stepUp();
    QTest::keyClick(spinner, Qt::Key_Down);
    form.spin.setEnabled(false);
    spinner->stepDown();
    QWidget* image = view->findChild<QWidget*>("image");
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), image->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(image, &move);
    EXPECT_EQ(form.take(), (Events{"opt1", "spin 400", "spin 500", "image"}));

    form.label.setCaption("a&b 100%");
    QCoreApplication::sendPostedEvents(); // a label's caption is shown once the event loop runs
    EXPECT_EQ(view->findChild<QLabel*>("label")->text(), QString("a&b 100%")) << "a file name keeps its \"&\"";
    // Unloading puts the widgets back in the design state.
    form.opt2.setValue(true);
    form.unload();
    EXPECT_TRUE(view->findChild<QAbstractButton*>("opt1")->isChecked());
}

TEST_F(QtFrontEndTest, ListsForwardSelectionAndTheFolderListOpensOnEnter) {
    auto* list = view->findChild<QListWidget*>("files");
    ASSERT_EQ(list->count(), 2);
    list->item(1)->setSelected(true);
    EXPECT_TRUE(form.files.selected(1));
    form.files.setSelected(0, true);
    QCoreApplication::sendPostedEvents(); // a list's selection is shown once the event loop runs
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(form.take(), (Events{"files", "files"})) << "the model's own change is not echoed back";

    auto* tree = view->findChild<QTreeWidget*>("dirs");
    QTreeWidgetItem* uno = tree->topLevelItem(0)->child(0); // c:\, uno (open), due
    ASSERT_TRUE(uno && uno->child(0));
    EXPECT_EQ(tree->currentItem(), uno) << "the open folder shows as the current one";
    tree->setCurrentItem(uno->child(0));
    EXPECT_EQ(form.take(), Events{"dirs"});
    EXPECT_EQ(form.dirs.path(), "c:\\uno") << "a highlight does not open";
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(form.dirs.path(), "c:\\uno\\due");
}

TEST_F(QtFrontEndTest, MessageBoxesShowItalianButtonsAndEscapeGivesUpOnlyWhereAButtonDoes) {
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
        SCOPED_TRACE(c.flags);
        bool outlivedEscape = false, outlivedClose = false;
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
        EXPECT_EQ(desktop.messageBox("Sicuro di voler uscire", c.flags, "Error!"), c.answer);
        captions.sort();
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(outlivedEscape, !c.press.isEmpty());
        EXPECT_EQ(outlivedClose, !c.press.isEmpty());
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

TEST_F(QtFrontEndTest, ModalLoopEndsWithTheWindowAndRefreshPaintsWithoutHandlingInput) {
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

// The split runs aside and the window answers all through it, on the real event loop: it takes a
// minimise, opens About at a click, and takes no other input until the split is over.
TEST_F(QtFrontEndTest, TheWindowAnswersWhileASplitRuns) {
    app.presetReturningUser();
    app.drives.write("c:\\dati.bin", patternBytes(40 * 1024));
    QtDesktop desktop;
    Platform platform(desktop, app.files, app.files, app.settings, app.launcher);
    MainWindow m(platform);
    m.show();
    clickFile(m, "dati.bin");
    m.Text.setText("1");
    // A slow disk: each part takes a while.
    app.files.beforeWrite = [](const std::string&, size_t) { QThread::msleep(10); };
    QtFormView& window = *desktop.existingView(m);
    std::string meanwhile;
    bool minimised = false;
    bool aboutShown = false;
    QTimer::singleShot(100, [&] {
        meanwhile = m.infolabel.caption();
        window.showMinimized();
        QTimer::singleShot(0, [&] { minimised = window.isMinimized(); });
        QTest::mouseClick(desktop.view(m).findChild<QWidget*>("split"), Qt::LeftButton);
        QTimer::singleShot(50, [&] {
            aboutShown = m.aboutform().visible();
            m.aboutform().hide();
        });
        m.about.userClick();
    });
    m.split.userClick();
    EXPECT_EQ(meanwhile.rfind("Creando dati.bin.0", 0), 0u) << meanwhile;
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(aboutShown);
    EXPECT_EQ(m.infolabel.caption(), " 40/ 40 files creati con  SUCCESSO") << "one split, not two";
    window.showNormal();
}

} // namespace
} // namespace brenvik
