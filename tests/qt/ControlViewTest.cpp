#include "QtTestSupport.h"
#include "platform/qt/ArrowSpinner.h"
#include "platform/qt/QtFormView.h"
#include "support/TestApp.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <utility>

namespace brenvik {
namespace {

using qttest::widget;

// A window with one control of each kind the renderer handles; its handlers write into `events`.
class SampleForm : public Form {
public:
    explicit SampleForm(Platform& platform)
        : Form(platform, "sample"), frame(add<Frame>("frame")), keys(add<TextBox>("keys", &frame)),
          plain(add<TextBox>("plain")), notes(add<TextBox>("notes")), opt1(add<OptionButton>("opt1", &frame)),
          opt2(add<OptionButton>("opt2", &frame)), check(add<CheckBox>("check")), spin(add<VScrollBar>("spin")),
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
    void log(const std::string& e) { events.push_back(e); }
    // The events since the last call.
    std::vector<std::string> take() { return std::exchange(events, {}); }

    Frame& frame;
    TextBox& keys;
    TextBox& plain;
    TextBox& notes;
    OptionButton& opt1;
    OptionButton& opt2;
    CheckBox& check;
    VScrollBar& spin;
    FileList& files;
    DirList& dirs;
    Label& label;
    Image& image;
    std::vector<std::string> events;

protected:
    void design() override {
        setWindow("Prova", BorderStyle::FixedSingle, 6000, 6000);
        frame.setGeometry({0, 0, 3000, 1500});
        keys.setGeometry({150, 300, 1500, 300});
        keys.setText("");
        opt1.setGeometry({150, 700, 1200, 200});
        opt1.setCaption("Uno");
        opt1.setValue(true);
        opt2.setGeometry({1500, 700, 1200, 200});
        opt2.setCaption("Due");
        plain.setGeometry({3000, 300, 1500, 300});
        plain.setMaxLength(4);
        notes.setGeometry({3000, 700, 1500, 900});
        notes.setMultiLine(true);
        check.setGeometry({150, 1600, 1500, 200});
        spin.setGeometry({150, 2000, 255, 315});
        spin.setRange(0, 1000);
        spin.setValue(500);
        spin.setChanges(100, 1);
        files.setGeometry({600, 2000, 2000, 2000});
        files.setMultiSelect(true);
        dirs.setGeometry({3000, 2000, 2000, 2000});
        label.setGeometry({150, 4500, 300, 195});
        label.setAutoSize(true);
        image.setGeometry({0, 0, 6000, 6000});
    }
};

class ControlViewTest : public ::testing::Test {
protected:
    ControlViewTest() : form(app.platform) {
        app.drives.makeFolders("c:\\uno\\due");
        app.drives.write("c:\\uno\\a.bin", "a");
        app.drives.write("c:\\uno\\b.bin", "b");
        app.drives.write("c:\\uno\\c.bin", "c");
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

TEST_F(ControlViewTest, WatchedBoxHandsEveryKeyToTheModelWithItsVirtualCode) {
    auto* edit = widget<QLineEdit>(*view, "keys");
    qttest::sendKey(edit, Qt::Key_7, "7");
    qttest::sendKey(edit, Qt::Key_5, "5", Qt::KeypadModifier);
    qttest::sendKey(edit, Qt::Key_A, "A", Qt::ShiftModifier);
    qttest::sendKey(edit, Qt::Key_Left);
    qttest::sendKey(edit, Qt::Key_Delete);
    qttest::sendKey(edit, Qt::Key_Backspace);
    EXPECT_EQ(form.take(), (Events{"55/0", "101/0", "65/1", "37/0", "46/0", "8/0"}));
    // The model made each edit once (the box is not locked); Qt made none of its own. The caret
    // keys are the model's too: Left did not move the caret, so Delete had nothing to erase and
    // Backspace took the last character.
    EXPECT_EQ(form.keys.text(), "75");
    EXPECT_EQ(edit->text(), QString("75"));
    EXPECT_EQ(edit->cursorPosition(), 2);

    form.keys.setLocked(true);
    EXPECT_FALSE(edit->isReadOnly()) << "its caret shows; the model decides what each key does";
    qttest::sendKey(edit, Qt::Key_9, "9");
    EXPECT_EQ(form.take(), Events{"57/0"});
    EXPECT_EQ(edit->text(), QString("75")) << "a locked box hears the key but is not edited";
}

TEST_F(ControlViewTest, PlainBoxesEditNativelyAndReportTheText) {
    auto* edit = widget<QLineEdit>(*view, "plain");
    for (const char* c : {"a", "b", "c", "d", "e"})
        qttest::sendKey(edit, Qt::Key_A, c);
    EXPECT_EQ(form.take(), (Events{"plain a", "plain ab", "plain abc", "plain abcd"})) << "its length limit holds";
    EXPECT_EQ(form.plain.selStart(), 4);
    form.plain.setText("xyz");
    EXPECT_EQ(edit->text(), QString("xyz"));
    EXPECT_EQ(form.take(), Events{"plain xyz"}) << "a change from code is not reported back as an edit";
    form.plain.setLocked(true);
    EXPECT_TRUE(edit->isReadOnly());

    // A multi-line box shows lines and keeps CR LF.
    auto* notes = widget<QPlainTextEdit>(*view, "notes");
    ASSERT_NE(notes, nullptr);
    form.notes.setText("uno\r\ndue");
    EXPECT_EQ(notes->toPlainText(), QString("uno\ndue"));
    QTextCursor cursor = notes->textCursor();
    cursor.movePosition(QTextCursor::End);
    notes->setTextCursor(cursor);
    qttest::sendKey(notes, Qt::Key_Return, "\r");
    qttest::sendKey(notes, Qt::Key_T, "t");
    EXPECT_EQ(form.notes.text(), "uno\r\ndue\r\nt");
    EXPECT_EQ(form.notes.selStart(), 11);
}

TEST_F(ControlViewTest, OptionsCheckBoxAndSpinnerFollowTheModel) {
    auto* opt1 = widget<QAbstractButton>(*view, "opt1");
    auto* opt2 = widget<QAbstractButton>(*view, "opt2");
    opt2->click();
    EXPECT_TRUE(form.opt2.value());
    EXPECT_FALSE(form.opt1.value());
    EXPECT_FALSE(opt1->isChecked()) << "the model's exclusivity reaches the other button";
    opt2->click();
    EXPECT_TRUE(opt2->isChecked()) << "clicking the chosen option leaves it chosen";
    opt1->click();
    auto* check = widget<QAbstractButton>(*view, "check");
    check->click();
    EXPECT_EQ(form.check.value(), 1);
    form.check.setValue(0);
    EXPECT_FALSE(check->isChecked());

    // A short scroll bar is a two-arrow spinner; value 0 is at the top.
    auto* spinner = widget<ArrowSpinner>(*view, "spin");
    ASSERT_NE(spinner, nullptr);
    spinner->stepDown();
    spinner->stepUp();
    spinner->stepUp();
    qttest::sendKey(spinner, Qt::Key_Down);
    form.spin.setEnabled(false);
    spinner->stepDown();
    EXPECT_EQ(form.take(), (Events{"opt1", "spin 600", "spin 500", "spin 400", "spin 500"}));
}

TEST_F(ControlViewTest, ListsReportTheirSelectionAndTheFolderListOpensOnEnter) {
    auto* list = widget<QListWidget>(*view, "files");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QString("b.bin"));
    list->item(1)->setSelected(true);
    list->item(2)->setSelected(true);
    EXPECT_TRUE(form.files.selected(1) && form.files.selected(2));
    form.files.setSelected(0, true);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(form.take(), (Events{"files", "files", "files"})) << "the model's own change is not echoed back";
    app.drives.write("c:\\uno\\d.bin", "d");
    form.files.refresh();
    EXPECT_EQ(list->count(), 4);
    EXPECT_TRUE(list->selectedItems().isEmpty());

    auto* tree = widget<QTreeWidget>(*view, "dirs");
    // c:\, uno (open), due.
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* uno = tree->topLevelItem(0)->child(0);
    ASSERT_NE(uno, nullptr);
    EXPECT_EQ(uno->text(0), QString("uno"));
    EXPECT_EQ(tree->currentItem(), uno) << "the open folder shows as the current one";
    ASSERT_NE(uno->child(0), nullptr);
    tree->setCurrentItem(uno->child(0));
    EXPECT_EQ(form.dirs.listIndex(), 2);
    EXPECT_EQ(form.take(), Events{"dirs"});
    EXPECT_EQ(form.dirs.path(), "c:\\uno") << "a highlight does not open";
    qttest::sendKey(tree, Qt::Key_Return);
    EXPECT_EQ(form.dirs.path(), "c:\\uno\\due");
    ASSERT_EQ(tree->topLevelItem(0)->child(0)->childCount(), 1);
    EXPECT_EQ(tree->currentItem()->text(0), QString("due"));
}

TEST_F(ControlViewTest, SeeThroughImageCatchesPointerMovesAndLabelsFollowTheirText) {
    QWidget* image = widget(*view, "image");
    EXPECT_TRUE(image->hasMouseTracking());
    qttest::sendMouseMove(image);
    EXPECT_EQ(form.take(), Events{"image"});

    auto* label = widget<QLabel>(*view, "label");
    form.label.setCaption("a&b 100%");
    EXPECT_EQ(label->text(), QString("a&b 100%")) << "a file name in a label keeps its \"&\"";
    int shortWidth = label->width();
    form.label.setCaption("Molto, molto più lungo");
    EXPECT_GT(label->width(), shortWidth);
    EXPECT_EQ(label->width(), label->fontMetrics().horizontalAdvance(label->text()) + 1);

    // Unloading puts the widgets back in the design state without loading the window again.
    form.keys.setText("123");
    form.opt2.setValue(true);
    form.unload();
    EXPECT_EQ(widget<QLineEdit>(*view, "keys")->text(), QString());
    EXPECT_TRUE(widget<QAbstractButton>(*view, "opt1")->isChecked());
    EXPECT_FALSE(form.loaded());
}

} // namespace
} // namespace brenvik
