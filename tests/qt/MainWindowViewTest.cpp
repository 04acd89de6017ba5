#include "QtTestSupport.h"
#include "platform/qt/CaptionFrame.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using qttest::widget;

// The real main window, started as a returning user, with its Qt view built from the model.
class MainWindowViewTest : public ::testing::Test {
protected:
    MainWindowViewTest() {
        m = &app.startIn();
        view = std::make_unique<QtFormView>(*m);
    }

    QRect rectOf(const std::string& name) {
        QWidget* w = widget(*view, name);
        return w ? w->geometry() : QRect();
    }
    int stackIndex(const std::string& name) {
        QWidget* w = widget(*view, name);
        return static_cast<int>(w->parentWidget()->children().indexOf(w));
    }

    TestApp app;
    MainWindow* m = nullptr;
    std::unique_ptr<QtFormView> view;
};

TEST_F(MainWindowViewTest, BuildsTheWindowFromTheModelInPixels) {
    EXPECT_EQ(view->windowTitle(), QString("Brenvik 1.0"));
    EXPECT_EQ(view->minimumSize(), QSize(485, 473));
    EXPECT_EQ(view->maximumSize(), QSize(485, 473)) << "the window cannot be resized";
    EXPECT_TRUE(view->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(view->windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(rectOf("split"), QRect(372, 56, 101, 69));
    EXPECT_EQ(rectOf("esci"), QRect(372, 344, 101, 69));
    EXPECT_EQ(rectOf("Frame3"), QRect(8, 312, 348, 53));
    EXPECT_EQ(rectOf("Image1"), QRect(88, 4, 269, 42));
    EXPECT_EQ(rectOf("Image2"), QRect(0, 0, 485, 473));
    // Positions are relative to the container.
    EXPECT_EQ(widget(*view, "Text")->parentWidget(), widget(*view, "Frame3"));
    EXPECT_EQ(rectOf("Text"), QRect(12, 20, 60, 22));
    EXPECT_EQ(rectOf("VScroll1"), QRect(72, 20, 17, 21));
    EXPECT_EQ(widget(*view, "File2")->parentWidget(), widget(*view, "file1"));
    EXPECT_EQ(rectOf("File2"), QRect(8, 16, 153, 149));
    EXPECT_EQ(rectOf("barra").width(), 0) << "the progress bar starts empty";
}

TEST_F(MainWindowViewTest, ShowsTheCaptionsAndInitialStates) {
    EXPECT_EQ(widget<QAbstractButton>(*view, "split")->text(), QString("&Splitta Files"));
    EXPECT_EQ(widget<QAbstractButton>(*view, "options")->text(), QString("&Destinazione Files"));
    EXPECT_FALSE(widget<QAbstractButton>(*view, "split")->icon().isNull()) << "graphical buttons show their picture";
    EXPECT_EQ(widget<CaptionFrame>(*view, "Frame4")->title(), QString("Seleziona Modalità"));
    EXPECT_EQ(widget<CaptionFrame>(*view, "unisci")->title(), QString("Seleziona i File da Unire e Premi Unisci "));
    EXPECT_EQ(widget<QAbstractButton>(*view, "Option1")->text(), QString("Splitta Files"));
    EXPECT_TRUE(widget<QAbstractButton>(*view, "Option1")->isChecked());
    EXPECT_TRUE(widget<QAbstractButton>(*view, "Option3")->isChecked());
    EXPECT_FALSE(widget<QAbstractButton>(*view, "Option4")->isChecked());
    EXPECT_EQ(widget<QLabel>(*view, "infolabel")->text(), QString("Brenvik caricato!"));
    EXPECT_EQ(widget<QLabel>(*view, "Label4")->text(), QString(" File da creare . . ."));

    auto* text = widget<QLineEdit>(*view, "Text");
    EXPECT_EQ(text->text(), QString("500"));
    EXPECT_EQ(text->toolTip(), QString("Clicca per impostare . . ."));
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    EXPECT_TRUE(widget<QLineEdit>(*view, "pathbar")->isReadOnly());
    EXPECT_EQ(widget<QLineEdit>(*view, "pathbar")->text(), QString("c:\\"));

    EXPECT_FALSE(widget(*view, "split")->isEnabled());
    EXPECT_FALSE(widget(*view, "Frame3")->isEnabled());
    EXPECT_FALSE(widget(*view, "file1")->isVisibleTo(view.get())) << "the join frames start hidden";
    EXPECT_FALSE(widget(*view, "unisci")->isVisibleTo(view.get()));
    EXPECT_TRUE(widget(*view, "list")->isVisibleTo(view.get()));
}

TEST_F(MainWindowViewTest, StacksAsTheFormSays) {
    // Siblings later in their parent's children are drawn in front.
    EXPECT_GT(stackIndex("file1"), stackIndex("list")) << "the join frame covers the split list";
    EXPECT_GT(stackIndex("file1"), stackIndex("Frame2"));
    EXPECT_GT(stackIndex("unisci"), stackIndex("Frame3"));
    EXPECT_GT(stackIndex("split"), stackIndex("Command1")) << "Command1 lies behind split";
    EXPECT_GT(stackIndex("bianco"), stackIndex("barra")) << "the figure lies in front of the fill";
    EXPECT_GT(stackIndex("Image2"), stackIndex("Image1"));
    EXPECT_LT(stackIndex("Image2"), stackIndex("info"));
}

TEST_F(MainWindowViewTest, JoinPanelHidesTheSizeSelectorBehindIt) {
    // " File da creare . . ." lies under the part of the join panel that holds nothing of its
    // own; once the panel shows, that part must be plain background.
    m->unisci.setVisible(true);
    view->show();
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
    view->hide();
}

TEST_F(MainWindowViewTest, ModelChangesReachTheWidgets) {
    m->split.setCaption("&Altro");
    m->split.setEnabled(true);
    m->file1.setVisible(true);
    m->setProgress(2000, "50");

    EXPECT_EQ(widget<QAbstractButton>(*view, "split")->text(), QString("&Altro"));
    EXPECT_TRUE(widget(*view, "split")->isEnabled());
    EXPECT_TRUE(widget(*view, "file1")->isVisibleTo(view.get()));
    EXPECT_EQ(rectOf("barra").width(), 133);
    EXPECT_EQ(widget<QLabel>(*view, "bianco")->text(), QString("50"));

    m->Option2.setValue(true);
    EXPECT_TRUE(widget<QAbstractButton>(*view, "Option2")->isChecked());
    EXPECT_FALSE(widget<QAbstractButton>(*view, "Option1")->isChecked());
}

TEST_F(MainWindowViewTest, UserActionsReachTheHandlers) {
    // A click on "Esci" saves the folder and asks; "No" keeps everything.
    app.store("path", "initialdir", "c:\\altrove");
    app.desktop.answer(mb::IdNo);
    widget<QAbstractButton>(*view, "esci")->click();
    // The question's wording is checked with the model's close; here only that it came.
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

} // namespace
} // namespace brenvik
