#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A small window whose handlers write into one another, to watch the nesting.
class Sample : public Form {
public:
    explicit Sample(Platform& p)
        : Form(p, "sample"), box(add<TextBox>("box")), mirror(add<TextBox>("mirror")), group(add<Frame>("group")),
          a(add<OptionButton>("a", &group)), b(add<OptionButton>("b", &group)), c(add<OptionButton>("c")),
          spin(add<VScrollBar>("spin")), files(add<FileList>("files")) {
        box.onChange = [this] {
            log.push_back("box:" + box.text());
            mirror.setText(box.text() + "!");
            log.push_back("box done");
        };
        mirror.onChange = [this] { log.push_back("mirror:" + mirror.text()); };
        a.onClick = [this] { log.push_back("a"); };
        b.onClick = [this] { log.push_back("b"); };
        c.onClick = [this] { log.push_back("c"); };
        spin.onChange = [this] { log.push_back("spin:" + std::to_string(spin.value())); };
        applyDesign();
    }

    TextBox& box;
    TextBox& mirror;
    Frame& group;
    OptionButton& a;
    OptionButton& b;
    OptionButton& c;
    VScrollBar& spin;
    FileList& files;
    std::vector<std::string> log;

protected:
    void design() override {
        box.setText("design");
        mirror.setText("");
        a.setValue(true);
        b.setValue(false);
        c.setValue(true);
        spin.setRange(0, 1000);
        spin.setValue(500);
        spin.setChanges(100, 1);
    }
    void Form_Load() override { log.push_back("load"); }
};

struct ControlModelTest : ::testing::Test {
    TestApp app;
    TestDrives& drives = app.drives;
    Platform& platform = app.platform;
};

TEST_F(ControlModelTest, AssignmentRunsHandlersNestedAndSameValueFiresNothing) {
    Sample s(platform);
    EXPECT_TRUE(s.log.empty()) << "the design state fires nothing";
    s.box.setText("x");
    EXPECT_EQ(s.log, (std::vector<std::string>{"load", "box:x", "mirror:x!", "box done"}));
    s.log.clear();
    s.box.setText("x");
    s.mirror.setText("x!");
    EXPECT_TRUE(s.log.empty());
}

TEST_F(ControlModelTest, OptionButtonsAreExclusivePerContainer) {
    Sample s(platform);
    s.load();
    s.b.userClick();
    EXPECT_FALSE(s.a.value());
    EXPECT_TRUE(s.b.value());
    EXPECT_TRUE(s.c.value()) << "another container's option is untouched";
    s.b.setValue(false);
    s.a.setValue(true);
    EXPECT_EQ(s.log, (std::vector<std::string>{"load", "b", "a"})) << "unchecking raises no click";
}

TEST_F(ControlModelTest, ScrollBarClampsUserStepsAndRefusesOutOfRangeValues) {
    Sample s(platform);
    s.load();
    s.spin.setValue(950);
    s.spin.userLineDown();
    EXPECT_EQ(s.spin.value(), 1000);
    s.spin.userLineDown();
    EXPECT_THROW(s.spin.setValue(1001), RuntimeError);
    EXPECT_EQ(s.log, (std::vector<std::string>{"load", "spin:950", "spin:1000"}));
}

TEST_F(ControlModelTest, TypingGoesThroughKeyEventsAndRespectsLockAndLength) {
    Sample s(platform);
    s.load();
    std::vector<std::string> keys;
    s.box.onKeyDown = [&](int k, int) { keys.push_back("down " + std::to_string(k)); };
    s.box.onKeyUp = [&](int k, int) { keys.push_back("up " + std::to_string(k)); };
    s.box.setText("ab");
    s.box.setSelStart(2);
    s.box.setMaxLength(3);
    s.box.userKey('C', "c");
    s.box.userKey('D', "d");
    EXPECT_EQ(s.box.text(), "abc") << "the fourth character is refused";
    s.box.userKey(vk::Back, "");
    EXPECT_EQ(s.box.text(), "ab");
    s.box.setLocked(true);
    s.box.userKey('E', "e");
    s.box.userKey(vk::Back, "");
    EXPECT_EQ(s.box.text(), "ab");
    EXPECT_EQ(keys.size(), 10u);
}

TEST_F(ControlModelTest, FileListSelectionRaisesClickAndFollowsItsMode) {
#ifdef _WIN32
    // A folder on Windows holds only one of "A.txt" and "a.txt".
    const std::string second = "a1.txt";
#else
    const std::string second = "a.txt";
#endif
    drives.write("c:\\b.txt", "b");
    drives.write("c:\\A.txt", "a");
    drives.write("c:\\" + second, "a");
    drives.makeFolders("c:\\sub");
    Sample s(platform);
    FileList& single = s.files;
    s.load();
    int clicks = 0;
    single.onClick = [&] { ++clicks; };
    single.setPath("C:\\");
    EXPECT_EQ(single.path(), "c:\\");
    EXPECT_EQ(single.items(), (std::vector<std::string>{"A.txt", second, "b.txt"})) << "folders are not files";
    single.setSelected(0, true);
    single.setSelected(2, true);
    EXPECT_FALSE(single.selected(0));
    EXPECT_EQ(single.fileName(), "b.txt");
    single.setSelected(2, false);
    EXPECT_EQ(single.fileName(), "");
    EXPECT_EQ(clicks, 3);
    single.setMultiSelect(true);
    single.userClickItem(0);
    single.userClickItem(1);
    EXPECT_TRUE(single.selected(0));
    EXPECT_TRUE(single.selected(1));
    EXPECT_EQ(single.listIndex(), 1);
}

} // namespace
} // namespace brenvik
