#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Layout.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

using Log = std::vector<std::string>;

// A small window whose handlers write into one another, to watch the nesting.
class Sample : public Form {
public:
    explicit Sample(Platform& p)
        : Form(p, "sample"), box(add<TextBox>("box")), mirror(add<TextBox>("mirror")), group(add<Frame>("group")),
          a(add<OptionButton>("a", &group)), b(add<OptionButton>("b", &group)), c(add<OptionButton>("c")),
          spin(add<VScrollBar>("spin")), label(add<Label>("label")) {
        box.onChange = [this] {
            log.push_back("box:" + box.text());
            mirror.setText(box.text() + "!");
            log.push_back("box done");
        };
        mirror.onChange = [this] { log.push_back("mirror:" + mirror.text()); };
        a.onClick = [this] { log.push_back("a"); };
        b.onClick = [this] { log.push_back("b"); };
        spin.onChange = [this] { log.push_back("spin:" + std::to_string(spin.value())); };
        box.onKeyDown = [this](int k, int) { log.push_back("key " + std::to_string(k)); };
        applyDesign();
    }

    TextBox &box, &mirror;
    Frame& group;
    OptionButton &a, &b, &c;
    VScrollBar& spin;
    Label& label;
    Log log;

protected:
    void design() override {
        box.setText("design");
        a.setValue(true);
        c.setValue(true);
        spin.setRange(0, 1000);
        spin.setValue(500);
        label.setCaption("Parti");
    }
    void Form_Load() override { log.push_back("load"); }
};

TEST(ControlModelTest, AssignmentRunsHandlersNestedAndSameValueFiresNothing) {
    TestApp app;
    Sample s(app.platform);
    EXPECT_TRUE(s.log.empty()) << "the design state fires nothing";
    s.box.setText("x");
    EXPECT_EQ(s.log, (Log{"load", "box:x", "mirror:x!", "box done"})) << "the first touch loads the window";
    s.log.clear();
    s.box.setText("x");
    s.mirror.setText("x!");
    EXPECT_TRUE(s.log.empty());
}

// A window whose label names a frame of another window, as a container declared after its
// control would be when the control is made.
class Misordered : public Form {
public:
    Misordered(Platform& p, Control& elsewhere) : Form(p, "misordered") { add<Label>("label", &elsewhere); }

protected:
    void design() override {}
};

TEST(ControlModelTest, AControlWhoseContainerIsNotMadeYetIsRefused) {
    TestApp app;
    Sample s(app.platform);
    EXPECT_THROW(Misordered(app.platform, s.group), std::logic_error);
}

TEST(ControlModelTest, OptionsScrollBarAndTypingKeepTheirRules) {
    TestApp app;
    Sample s(app.platform);
    s.load();
    s.b.userClick();
    EXPECT_FALSE(s.a.value());
    EXPECT_TRUE(s.c.value()) << "another container's option is untouched";
    s.b.setValue(false);
    s.a.setValue(true);

    s.spin.setValue(1000);
    s.spin.userLineDown();
    EXPECT_EQ(s.spin.value(), 1000) << "a user's step stops at the end";
    EXPECT_THROW(s.spin.setValue(1001), RuntimeError);

    s.box.setSelStart(6);
    EXPECT_EQ(s.mirror.editLimit(3), 32767) << "no limit set";
    s.mirror.setMaxLength(7);
    EXPECT_EQ(s.mirror.editLimit(3), 7);
    EXPECT_EQ(s.mirror.editLimit(12), 12) << "an edit control keeps a longer text set from code";
    s.box.setMaxLength(7);
    EXPECT_EQ(s.box.editLimit(3), 32767) << "the model limits the typing of a box whose keys it watches";
    s.box.userKey('C', "c");
    s.box.userKey('D', "d");
    EXPECT_EQ(s.box.text(), "designc") << "a character past the length is refused";
    EXPECT_EQ(s.log,
              (Log{"load", "b", "a", "spin:1000", "key 67", "box:designc", "mirror:designc!", "box done", "key 68"}))
        << "unchecking raises no click";
}

} // namespace
} // namespace brenvik
