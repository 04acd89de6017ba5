#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

// The real main window as the user meets it: shown, active, on the screen's device pixel ratio
// (CTest runs this program a second time at 200 %).
class DesktopIntegrationTest : public ::testing::Test {
protected:
    DesktopIntegrationTest() {
        app.drives.write("c:\\dati.bin", patternBytes(1200 * 1024));
        app.drives.write("c:\\pezzi.000", "p");
        m = &app.startIn("c:\\");
        view = std::make_unique<QtFormView>(*m);
        view->show();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
        QApplication::processEvents();
        view->findChild<QWidget*>("Command1")->setFocus();
    }
    static QString focusedName() {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("<none>");
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    // The names Tab visits, starting after the control with the focus, until it comes back.
    static QStringList tabCycle() {
        const QString start = focusedName();
        QStringList visited;
        do {
            press(Qt::Key_Tab);
            visited << focusedName();
        } while (visited.back() != start && visited.size() < 60);
        return visited;
    }
    // An access key presses its button, which on screen stays down a moment before it clicks.
    void altKey(char letter) {
        press(static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')), Qt::AltModifier);
        for (QAbstractButton* button : view->findChildren<QAbstractButton*>())
            for (int i = 0; i < 100 && button->isDown(); ++i)
                QTest::qWait(10);
    }

    TestApp app;
    MainWindow* m = nullptr;
    std::unique_ptr<QtFormView> view; // declared last: it goes before the window it shows
};

TEST_F(DesktopIntegrationTest, ScaledScreenKeepsLogicalGeometrySharpPicturesAndCutsNoText) {
    if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
        ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), std::atof(factor)) << "the screen is not scaled as asked";
    }
    EXPECT_EQ(view->minimumSize(), QSize(485, 473));
    EXPECT_EQ(view->maximumSize(), QSize(485, 473)) << "the window cannot be resized";
    EXPECT_EQ(view->findChild<QWidget*>("Text")->geometry(), QRect(12, 20, 60, 22)) << "relative to its frame";
    EXPECT_EQ(pictures::natural("banner").size(), (QSizeF(269, 42) * qApp->devicePixelRatio()).toSize())
        << "one device pixel to each of the screen's";

    // No label or button cuts its text, in either mode, with the longest status texts of each.
    auto checkTexts = [&](const char* mode) {
        for (QLabel* label : view->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(view.get()))
                continue;
            const QFontMetrics metrics(label->font());
            for (const QString& line : label->text().split(QLatin1Char('\n')))
                EXPECT_GE(label->width(), metrics.horizontalAdvance(line))
                    << mode << ": " << label->objectName().toStdString() << " cuts \"" << line.toStdString() << "\"";
        }
        for (QAbstractButton* b : view->findChildren<QAbstractButton*>()) {
            const bool shown =
                b->isVisibleTo(view.get()) && !b->inherits("QToolButton") && b->objectName() != "Command1";
            EXPECT_TRUE(!shown || b->width() >= b->sizeHint().width()) << mode << ": " << b->objectName().toStdString();
        }
    };
    m->infolabel.setCaption("File selezionato: [un nome di file piuttosto lungo.bin] 1023 KB");
    checkTexts("split");
    app.desktop.answer(mb::IdOK);
    m->Option2.setValue(true);
    m->Label5.setCaption("999");
    checkTexts("join");
}

TEST_F(DesktopIntegrationTest, QtsTextsAreItalianControlsAreNamedAndTheFrameCloseAsksTheModel) {
    std::unique_ptr<QMenu> menu(view->findChild<QLineEdit*>("pathbar")->createStandardContextMenu());
    EXPECT_TRUE(
        std::ranges::any_of(menu->actions(), [](QAction* a) { return a->text().section('\t', 0, 0) == "&Copia"; }));

    app.desktop.answer(mb::IdNo);
    EXPECT_FALSE(view->close());
    EXPECT_EQ(app.desktop.count("box Sicuro di voler uscire"), 1);

    // Every control that takes the focus is named for screen readers.
    m->drive.setToolTip("Drive Corrente (d:)");
    QCoreApplication::sendPostedEvents(); // a tool tip is shown once the event loop runs
    EXPECT_EQ(view->findChild<QWidget*>("drive")->accessibleName(), QString("Drive Corrente (d:)"))
        << "follows the tool tip";
    for (Control* control : m->controls()) {
        QWidget* w = view->findChild<QWidget*>(QString::fromStdString(control->name()));
        const bool takesFocus = w && w->focusPolicy() != Qt::NoFocus && control->name() != "pathbar";
        EXPECT_TRUE(!takesFocus || !w->accessibleName().isEmpty()) << control->name();
    }
    // A screen reader hears the status line as it is drawn: its "&" and its spaces.
    m->infolabel.setCaption(" 3/ 3 a&b (1).bin ");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(view->findChild<QWidget*>("infolabel")->accessibleName(), QString(" 3/ 3 a&b (1).bin "));
}

TEST_F(DesktopIntegrationTest, KeyboardAloneReachesEveryButtonAndSplits) {
    // Nothing chosen yet: the split button and the size selector are skipped.
    EXPECT_EQ(tabCycle(), QStringList({"drive", "dir", "list", "help", "pathbar", "options", "Option1", "Option2",
                                       "about", "esci", "Command1"}));
    for (auto [letter, form] : {std::pair{'d', "optionsfrm"}, {'o', "helpfrm"}, {'a', "aboutform"}}) {
        app.desktop.onModal(form, [](Form& f) { f.hide(); });
        altKey(letter);
        EXPECT_EQ(app.desktop.count(std::string("show ") + form), 1) << letter;
    }
    app.desktop.answer(mb::IdNo);
    altKey('e');
    EXPECT_EQ(app.desktop.count("box Sicuro di voler uscire"), 1);
    // Enter presses the button with the focus, as Space does.
    app.desktop.onModal("helpfrm", [](Form& f) { f.hide(); });
    view->findChild<QWidget*>("help")->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(app.desktop.count("show helpfrm"), 2);

    // The file chosen with the arrow keys, the size from the keyboard, Alt+S (the cycles show
    // that Tab reaches the list and the size).
    view->findChild<QWidget*>("list")->setFocus();
    press(Qt::Key_End);
    press(Qt::Key_Home);
    ASSERT_EQ(m->filesel, "dati.bin");
    EXPECT_EQ(tabCycle(), QStringList({"split", "help", "Text", "pathbar", "options", "Option1", "Option2", "Option3",
                                       "Option4", "about", "esci", "VScroll1", "Command1", "drive", "dir", "list"}));
    view->findChild<QWidget*>("Option4")->setFocus();
    press(Qt::Key_Space);
    altKey('s');
    EXPECT_EQ(app.drives.read("c:\\myfiles\\[dati.bin]\\dati.bin.001").size(), 176u * 1024);
}

TEST_F(DesktopIntegrationTest, NoMouseOrKeyGestureLeavesTheSplitListWithoutItsPick) {
    auto* list = view->findChild<QListWidget*>("list");
    const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("dati.bin"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    const QPoint at = list->visualItemRect(found[0]).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(m->list.fileName(), "dati.bin");
    const std::string described = m->infolabel.caption();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
    list->setFocus();
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers()})
        QTest::keyClick(list, Qt::Key_Space, mods);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m->list.fileName(), "dati.bin");
    EXPECT_EQ(list->selectedItems(), found) << "the list shows the pick the window keeps, alone";
    EXPECT_TRUE(m->split.enabled());
    EXPECT_EQ(m->infolabel.caption(), described);

    // Pressed on one file and released on another, the pointer picks the other, and the window
    // takes it: the list never shows a pick the window does not keep.
    const QPoint other =
        list->visualItemRect(list->findItems(QStringLiteral("pezzi.000"), Qt::MatchExactly)[0]).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(list->viewport(), other);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, other);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems()[0]->text().toStdString(), m->list.fileName());
    EXPECT_EQ(m->filesel, m->list.fileName());
    EXPECT_TRUE(m->split.enabled());
    EXPECT_NE(m->infolabel.caption().find(m->list.fileName()), std::string::npos) << m->infolabel.caption();
}

} // namespace
} // namespace brenvik
