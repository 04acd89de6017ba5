// The control model: handlers run nested, option groups, scroll bars, typing, the user's actions
// as the front ends run them, and where the front ends place labels, indicator buttons and images.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Layout.h"
#include "platform/RuntimeError.h"
#include "platform/UserAction.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace brenvik {
namespace {

using Log = std::vector<std::string>;

// A small window whose handlers write into one another, to watch the nesting, and a label to place.
class Sample : public Form {
public:
    explicit Sample(Platform& p) : Form(p, "sample") {
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

    TextBox &box = add<TextBox>("box"), &mirror = add<TextBox>("mirror");
    Frame& group = add<Frame>("group");
    OptionButton &a = add<OptionButton>("a", &group), &b = add<OptionButton>("b", &group), &c = add<OptionButton>("c");
    VScrollBar& spin = add<VScrollBar>("spin");
    Label& label = add<Label>("label");
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

TEST(ControlModelTest, AssignmentRunsHandlersNestedOnlyOnChangeAndOptionsScrollBarAndTypingKeepTheirRules) {
    TestApp app;
    Sample s(app.platform);
    EXPECT_TRUE(s.log.empty()) << "the design state fires nothing";
    s.box.setText("x");
    EXPECT_EQ(s.log, (Log{"load", "box:x", "mirror:x!", "box done"})) << "the first touch loads the window";
    s.log.clear();
    s.box.setText("x");
    s.mirror.setText("x!");
    EXPECT_TRUE(s.log.empty());
    s.box.setText("design");
    s.log.clear();

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
    EXPECT_EQ(s.log, (Log{"b", "a", "spin:1000", "key 67", "box:designc", "mirror:designc!", "box done", "key 68"}))
        << "unchecking raises no click";
}

TEST(ControlModelTest, NothingAUserActionThrowsReachesTheToolkit) {
    TestApp app;
    for (int i = 0; i < 3; ++i)
        app.desktop.answer(mb::IdOK);
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw RuntimeError(err::FileNotFound); }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw std::logic_error("rotto"); }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw 42; }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw ProgramEnded{}; }));

    ASSERT_EQ(app.desktop.boxes.size(), 3u) << "the end of the program is no error";
    EXPECT_EQ(app.desktop.boxes[0].text, "Errore di run-time '53':\r\n\r\nImpossibile trovare il file");
    EXPECT_EQ(app.desktop.boxes[1].text, "Errore di run-time:\r\n\r\nrotto");
    EXPECT_EQ(app.desktop.boxes[2].text, "Errore di run-time");
    for (const ScriptedDesktop::Box& box : app.desktop.boxes)
        EXPECT_EQ(box.flags, mb::OK | mb::Critical);
}

TEST(ControlModelTest, LabelsGrowToTheirTextOnTheSideTheirAlignmentLeavesFreeOrDownWhenTheyWrap) {
    // Text 50 wide in a font whose lines are 13 high, 15 apart; wrapped at any width, 52 high.
    const TextMeasure text{false, 50, 13, 13, 15};
    TextMeasure none = text;
    none.empty = true;
    struct Case {
        const char* label;
        bool autoSize, wordWrap;
        Align align;
        PixelRect designed;
        const TextMeasure& measure;
        PixelRect placed;
        bool wraps;
    };
    const Case cases[] = {
        {"sized to its text", true, true, Align::Left, {10, 20, 200, 5}, text, {10, 20, 51, 13}, false},
        {"sized, never below its height", true, true, Align::Left, {10, 20, 20, 40}, text, {10, 20, 51, 40}, false},
        {"sized to no text", true, true, Align::Left, {10, 20, 20, 40}, none, {10, 20, 0, 40}, false},
        // 29 pixels short of the text and its extra pixel: one line, as 20 < 2 * 15.
        {"one line, left", false, true, Align::Left, {100, 50, 22, 20}, text, {100, 50, 51, 20}, false},
        {"centred, odd pixel right", false, true, Align::Center, {100, 50, 22, 20}, text, {86, 50, 51, 20}, false},
        {"one line, right", false, true, Align::Right, {100, 50, 22, 20}, text, {71, 50, 51, 20}, false},
        {"wide enough: a line high", false, true, Align::Left, {100, 50, 300, 8}, text, {100, 50, 300, 13}, false},
        {"wraps and grows down", false, true, Align::Left, {0, 0, 30, 30}, text, {0, 0, 30, 52}, true},
        {"wraps, tall enough", false, true, Align::Left, {0, 0, 30, 60}, text, {0, 0, 30, 60}, true},
        {"does not wrap: cut", false, false, Align::Left, {0, 0, 30, 30}, text, {0, 0, 30, 30}, false},
    };
    TestApp app;
    for (const Case& c : cases) {
        Sample form(app.platform);
        form.label.setAutoSize(c.autoSize);
        form.label.setWordWrap(c.wordWrap);
        form.label.setAlignment(c.align);
        int askedWidth = -1;
        const LabelPlace place = placeLabel(form.label, c.designed, c.measure, [&](int width) {
            askedWidth = width;
            return 52;
        });
        EXPECT_EQ(place.rect, c.placed) << c.label;
        EXPECT_EQ(place.wraps, c.wraps) << c.label;
        EXPECT_EQ(askedWidth, c.wraps ? c.designed.width : -1) << c.label << ": the wrapped height is asked only then";
    }
}

TEST(ControlModelTest, IndicatorButtonsGrowAboutTheirMiddleAndImagesToTheirPicture) {
    EXPECT_EQ(placeIndicatorButton({10, 40, 80, 10}, 100, 15), (PixelRect{10, 38, 100, 15}))
        << "the odd pixel goes below";
    EXPECT_EQ(placeIndicatorButton({10, 40, 80, 20}, 50, 15), (PixelRect{10, 40, 80, 20})) << "never smaller";
    EXPECT_EQ(placeImage({5, 6, 10, 40}, 32, 32), (PixelRect{5, 6, 32, 40}));
    EXPECT_EQ(placeImage({5, 6, 10, 40}, -1, -1), (PixelRect{5, 6, 10, 40})) << "no picture, no change";
}

} // namespace
} // namespace brenvik
