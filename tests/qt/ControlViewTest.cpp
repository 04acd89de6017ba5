// The Qt front end's pieces under the program's windows: the control views and the arrow
// spinner.
#include "platform/qt/ArrowSpinner.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
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
    explicit SampleForm(Platform& platform)
        : Form(platform, "sample"), keys(add<TextBox>("keys")), plain(add<TextBox>("plain")),
          opt1(add<OptionButton>("opt1")), opt2(add<OptionButton>("opt2")), spin(add<VScrollBar>("spin")),
          files(add<FileList>("files")), dirs(add<DirList>("dirs")), label(add<Label>("label")),
          image(add<Image>("image")) {
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

    TextBox &keys, &plain;
    OptionButton &opt1, &opt2;
    VScrollBar& spin;
    FileList& files;
    DirList& dirs;
    Label& label;
    Image& image;
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

class ControlViewTest : public ::testing::Test {
protected:
    ControlViewTest() : form(app.platform) {
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

TEST_F(ControlViewTest, TextBoxesForwardKeysAndEditsAndFollowTheModel) {
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

TEST_F(ControlViewTest, ButtonsSpinnerImageAndLabelsForwardAndFollowTheModel) {
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
    EXPECT_EQ(view->findChild<QLabel*>("label")->text(), QString("a&b 100%")) << "a file name keeps its \"&\"";
    // Unloading puts the widgets back in the design state.
    form.opt2.setValue(true);
    form.unload();
    EXPECT_TRUE(view->findChild<QAbstractButton*>("opt1")->isChecked());
}

TEST_F(ControlViewTest, ListsForwardSelectionAndTheFolderListOpensOnEnter) {
    auto* list = view->findChild<QListWidget*>("files");
    ASSERT_EQ(list->count(), 2);
    list->item(1)->setSelected(true);
    EXPECT_TRUE(form.files.selected(1));
    form.files.setSelected(0, true);
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

} // namespace
} // namespace brenvik
