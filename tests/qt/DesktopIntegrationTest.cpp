#include "QtTestSupport.h"
#include "join/NameDialog.h"
#include "platform/qt/CaptionFrame.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyleOptionFrame>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using qttest::widget;

// The real main window as the user meets it: shown, active, on the screen's device pixel ratio
// (CTest runs this program a second time at 200 %).
class DesktopIntegrationTest : public ::testing::Test {
protected:
    void start(const std::string& folder = "c:\\") {
        m = &app.startIn(folder);
        view = std::make_unique<QtFormView>(*m);
        view->show();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
        QApplication::processEvents();
        widget(*view, "Command1")->setFocus();
    }
    ~DesktopIntegrationTest() override {
        view.reset();
        app.stop();
    }

    QRect rectOf(const std::string& name) { return widget(*view, name)->geometry(); }
    int stackIndex(const std::string& name) {
        QWidget* w = widget(*view, name);
        return static_cast<int>(w->parentWidget()->children().indexOf(w));
    }
    QString focusedName() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("<none>");
    }
    // The names Tab visits, starting after the control with the focus, until it comes back.
    QStringList tabCycle() {
        const QString start = focusedName();
        QStringList visited;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusedName();
            if (visited.back() == start)
                return visited;
        }
        ADD_FAILURE() << "Tab never came back to " << start.toStdString();
        return visited;
    }
    void tabTo(const QString& name) {
        for (int i = 0; i < 60 && focusedName() != name; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(focusedName(), name);
    }
    // An access key presses its button, which on screen stays down a moment before it clicks.
    void altKey(char letter) {
        const auto key = static_cast<Qt::Key>(Qt::Key_A + (letter - 'a'));
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        for (QAbstractButton* button : view->findChildren<QAbstractButton*>())
            for (int i = 0; i < 100 && button->isDown(); ++i)
                QTest::qWait(10);
    }

    TestApp app;
    MainWindow* m = nullptr;
    std::unique_ptr<QtFormView> view;
};

TEST_F(DesktopIntegrationTest, QtsOwnTextsAreItalian) {
    start();
    // The read-only path box keeps Qt's context menu; every entry in it must be translated.
    std::unique_ptr<QMenu> menu(widget<QLineEdit>(*view, "pathbar")->createStandardContextMenu());
    QStringList entries;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            entries << action->text().section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(entries.contains(QStringLiteral("&Copia"))) << entries.join(QLatin1Char('|')).toStdString();
    for (const char* english : {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"})
        EXPECT_FALSE(entries.contains(QLatin1String(english))) << english;
    // The lists' scroll bars have a menu of their own.
    EXPECT_NE(QCoreApplication::translate("QScrollBar", "Scroll here"), QStringLiteral("Scroll here"));
}

TEST_F(DesktopIntegrationTest, ScaledScreenKeepsTheModelsGeometryInLogicalPixelsAndSharpPictures) {
    if (const char* factor = std::getenv("QT_SCALE_FACTOR")) {
        ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), std::atof(factor)) << "the screen is not scaled as asked";
    }
    const qreal ratio = qApp->devicePixelRatio();
    start();
    EXPECT_EQ(view->windowTitle(), QString("Brenvik 1.0"));
    EXPECT_EQ(view->minimumSize(), QSize(485, 473));
    EXPECT_EQ(view->maximumSize(), QSize(485, 473)) << "the window cannot be resized";
    EXPECT_TRUE(view->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(view->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(rectOf("split"), QRect(372, 56, 101, 69));
    EXPECT_EQ(rectOf("Image2"), QRect(0, 0, 485, 473));
    EXPECT_EQ(rectOf("pathbar"), QRect(8, 284, 349, 19));
    // Positions are relative to the container.
    EXPECT_EQ(widget(*view, "Text")->parentWidget(), widget(*view, "Frame3"));
    EXPECT_EQ(rectOf("Text"), QRect(12, 20, 60, 22));
    EXPECT_EQ(widget(*view, "File2")->parentWidget(), widget(*view, "file1"));
    EXPECT_EQ(rectOf("File2"), QRect(8, 16, 153, 149));
    EXPECT_EQ(rectOf("barra").width(), 0) << "the progress bar starts empty";

    // Pictures are drawn with one device pixel to each of the screen's, not enlarged.
    const QPixmap banner = pictures::natural("banner");
    EXPECT_EQ(banner.deviceIndependentSize().toSize(), QSize(269, 42));
    EXPECT_EQ(banner.size(), (QSizeF(269, 42) * ratio).toSize());
    const QIcon icon = widget<QAbstractButton>(*view, "esci")->icon();
    EXPECT_EQ(icon.pixmap(QSize(32, 32), ratio).size(), (QSizeF(32, 32) * ratio).toSize());
}

TEST_F(DesktopIntegrationTest, NoTextIsCutInEitherMode) {
    start();
    // No label cuts its text, in either mode, with the longest status texts of each.
    auto checkLabels = [&](const char* mode) {
        for (QLabel* label : view->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(view.get()) || label->text().isEmpty())
                continue;
            const QFontMetrics metrics(label->font());
            for (const QString& line : label->text().split(QLatin1Char('\n'))) {
                EXPECT_GE(label->width(), metrics.horizontalAdvance(line))
                    << mode << ": " << label->objectName().toStdString() << " cuts \"" << line.toStdString() << "\"";
            }
            EXPECT_GE(label->height(), metrics.height()) << mode << ": " << label->objectName().toStdString();
        }
        for (QAbstractButton* option : view->findChildren<QAbstractButton*>()) {
            if (option->isVisibleTo(view.get()) && !option->inherits("QToolButton") &&
                option->objectName() != "Command1") {
                EXPECT_GE(option->width(), option->sizeHint().width())
                    << mode << ": " << option->objectName().toStdString();
                EXPECT_GE(option->height(), option->sizeHint().height())
                    << mode << ": " << option->objectName().toStdString();
            }
        }
    };
    m->infolabel.setCaption("File selezionato: [un nome di file piuttosto lungo.bin] 1023 KB");
    checkLabels("split");
    app.desktop.answer(mb::IdOK);
    m->Option2.setValue(true);
    m->Label5.setCaption("999");
    checkLabels("join");

    // The part-size box holds its six digits in the fixed-pitch face.
    auto* box = widget<QLineEdit>(*view, "Text");
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    EXPECT_GE(contents.width(), box->fontMetrics().horizontalAdvance(QStringLiteral("999999")) + 4);
    EXPECT_GE(contents.height(), box->fontMetrics().height());
}

TEST_F(DesktopIntegrationTest, WidgetsShowTheModelsStateAndFollowItsChanges) {
    start();
    auto* split = widget<QAbstractButton>(*view, "split");
    EXPECT_EQ(split->text(), QString("&Splitta Files"));
    EXPECT_FALSE(split->icon().isNull()) << "graphical buttons show their picture";
    EXPECT_FALSE(split->isEnabled());
    EXPECT_EQ(widget<CaptionFrame>(*view, "Frame4")->title(), QString("Seleziona Modalità"));
    EXPECT_TRUE(widget<QAbstractButton>(*view, "Option1")->isChecked());
    EXPECT_EQ(widget<QLabel>(*view, "infolabel")->text(), QString("Brenvik caricato!"));
    auto* text = widget<QLineEdit>(*view, "Text");
    EXPECT_EQ(text->text(), QString("500"));
    EXPECT_EQ(text->toolTip(), QString("Clicca per impostare . . ."));
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    EXPECT_TRUE(widget<QLineEdit>(*view, "pathbar")->isReadOnly());
    EXPECT_FALSE(widget(*view, "file1")->isVisibleTo(view.get())) << "the join frames start hidden";

    m->split.setCaption("&Altro");
    m->split.setEnabled(true);
    m->file1.setVisible(true);
    m->setProgress(2000, "50");
    EXPECT_EQ(split->text(), QString("&Altro"));
    EXPECT_TRUE(split->isEnabled());
    EXPECT_TRUE(widget(*view, "file1")->isVisibleTo(view.get()));
    EXPECT_EQ(rectOf("barra").width(), 133);
    EXPECT_EQ(widget<QLabel>(*view, "bianco")->text(), QString("50"));
    m->Option2.setValue(true);
    EXPECT_TRUE(widget<QAbstractButton>(*view, "Option2")->isChecked());
    EXPECT_FALSE(widget<QAbstractButton>(*view, "Option1")->isChecked());
}

TEST_F(DesktopIntegrationTest, StacksAsTheFormSaysSoTheJoinPanelHidesTheSizeSelector) {
    start();
    // Siblings later in their parent's children are drawn in front.
    EXPECT_GT(stackIndex("file1"), stackIndex("list")) << "the join frame covers the split list";
    EXPECT_GT(stackIndex("split"), stackIndex("Command1")) << "Command1 lies behind split";
    EXPECT_GT(stackIndex("bianco"), stackIndex("barra")) << "the figure lies in front of the fill";
    // " File da creare . . ." lies under the part of the join panel that holds nothing of its
    // own; once the panel shows, that part must be plain background.
    m->unisci.setVisible(true);
    QImage shot = view->grab().toImage();
    // Right of the panel's count, in window coordinates, then in the shot's device pixels.
    const QRect logical = QRect(285, 22, 50, 14).translated(widget(*view, "unisci")->pos());
    const qreal ratio = shot.devicePixelRatio();
    const QRect blank = QRectF(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio).toRect();
    const QRgb background = shot.pixel(blank.topLeft());
    int differing = 0;
    for (int y = blank.top(); y <= blank.bottom(); ++y)
        for (int x = blank.left(); x <= blank.right(); ++x)
            differing += shot.pixel(x, y) != background;
    EXPECT_EQ(differing, 0);
}

TEST_F(DesktopIntegrationTest, UserActionsReachTheHandlers) {
    start();
    // A click on "Esci" saves the folder and asks; "No" keeps everything.
    app.store("path", "initialdir", "c:\\altrove");
    app.desktop.answer(mb::IdNo);
    widget<QAbstractButton>(*view, "esci")->click();
    EXPECT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\");
    EXPECT_FALSE(app.desktop.ended);
    // The frame's close button asks the model, which keeps the window.
    app.desktop.answer(mb::IdNo);
    EXPECT_FALSE(view->close());
    EXPECT_EQ(app.desktop.boxes.size(), 2u);
    // Focus follows the pointer; the background hands it to Command1.
    qttest::sendMouseMove(widget(*view, "about"));
    EXPECT_EQ(m->focused(), &m->about);
    qttest::sendMouseMove(widget(*view, "Image2"));
    EXPECT_EQ(m->focused(), &m->Command1);
}

TEST_F(DesktopIntegrationTest, KeyboardAloneReachesEveryButtonThroughASplitAndAJoin) {
    app.drives.makeFolders("c:\\lavoro");
    app.drives.write("c:\\lavoro\\dati.bin", patternBytes(1200 * 1024));
    app.drives.write("c:\\lavoro\\pezzi.000", "primo-");
    app.drives.write("c:\\lavoro\\pezzi.001", "secondo");
    start("c:\\lavoro");

    // Nothing chosen yet: the split button and the size selector are skipped.
    EXPECT_EQ(tabCycle(), QStringList({"drive", "dir", "list", "help", "pathbar", "options", "Option1", "Option2",
                                       "about", "esci", "Command1"}));

    // Each access key presses its button.
    app.desktop.onModal("optionsfrm", [](Form& f) { f.hide(); });
    altKey('d');
    app.desktop.onModal("helpfrm", [](Form& f) { f.hide(); });
    altKey('o');
    app.desktop.onModal("aboutform", [](Form& f) { f.hide(); });
    altKey('a');
    app.desktop.answer(mb::IdNo);
    altKey('e');
    EXPECT_EQ(app.desktop.count("show optionsfrm"), 1);
    EXPECT_EQ(app.desktop.count("show helpfrm"), 1);
    EXPECT_EQ(app.desktop.count("show aboutform"), 1);
    EXPECT_EQ(app.desktop.count("box Sicuro di voler uscire"), 1);
    EXPECT_EQ(app.desktop.pendingModals(), 0u);

    // A split: the file chosen with the arrow keys, the size from the keyboard, Alt+S.
    tabTo("list");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    ASSERT_EQ(m->filesel, "dati.bin");
    EXPECT_EQ(tabCycle(), QStringList({"split", "help", "Text", "pathbar", "options", "Option1", "Option2", "Option3",
                                       "Option4", "about", "esci", "VScroll1", "Command1", "drive", "dir", "list"}));
    tabTo("Option4");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(m->Text.text(), "1024");
    altKey('s');
    EXPECT_EQ(app.drives.read("c:\\myfiles\\[dati.bin]\\dati.bin.001").size(), 176u * 1024);
    EXPECT_TRUE(app.drives.exists("c:\\myfiles\\[dati.bin]\\Assembla[dati.bin].bat"));

    // A join: join mode from the keyboard, the detected parts, then "Unisci" with Space.
    tabTo("Option2");
    app.desktop.answer(mb::IdOK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(m->Option2.value());
    EXPECT_EQ(m->Label5.caption(), "2");
    tabTo("uniscifile");
    EXPECT_EQ(tabCycle(), QStringList({"File2", "Command1", "drive", "dir", "list", "help", "pathbar", "options",
                                       "Option1", "Option2", "about", "esci", "uniscifile"}));
    app.desktop.onModal("nomefile", [](Form& f) { static_cast<NameDialog&>(f).ok.userClick(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(app.drives.read("c:\\myfiles\\pezzi"), "primo-secondo");
    EXPECT_EQ(app.desktop.pendingModals(), 0u);
    EXPECT_EQ(app.desktop.pendingAnswers(), 0u);
}

TEST_F(DesktopIntegrationTest, EveryControlIsNamedForScreenReaders) {
    start();
    EXPECT_EQ(widget(*view, "split")->accessibleName(), QString("Splitta Files"));
    EXPECT_EQ(widget(*view, "Option4")->accessibleName(), QString("1 MG"));
    EXPECT_EQ(widget(*view, "Text")->accessibleName(), QString("Clicca per impostare . . ."));
    EXPECT_EQ(widget(*view, "File2")->accessibleName(), QString("Seleziona File")) << "named after its frame";
    m->list.setToolTip("");
    EXPECT_EQ(widget(*view, "list")->accessibleName(), QString("Seleziona File")) << "named after the frame under it";
    m->drive.setToolTip("Drive Corrente (d:)");
    EXPECT_EQ(widget(*view, "drive")->accessibleName(), QString("Drive Corrente (d:)")) << "follows the tool tip";
    // The path box has neither caption nor frame; the rest of what takes the focus is named.
    for (Control* control : m->controls()) {
        QWidget* w = widget(*view, control->name());
        if (w && w->focusPolicy() != Qt::NoFocus && control->name() != "pathbar") {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << control->name();
        }
    }
}

} // namespace
} // namespace brenvik
