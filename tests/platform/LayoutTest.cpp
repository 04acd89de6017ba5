#include "platform/Layout.h"

#include "platform/Controls.h"
#include "platform/Form.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A window with the one label the layout places.
class Sample : public Form {
public:
    explicit Sample(Platform& p) : Form(p, "sample"), label(add<Label>("label")) { applyDesign(); }

    Label& label;

protected:
    void design() override { label.setCaption("Parti"); }
};

TEST(LayoutTest, LabelsGrowToTheirTextOnTheSideTheirAlignmentLeavesFreeOrDownWhenTheyWrap) {
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

TEST(LayoutTest, IndicatorButtonsGrowAboutTheirMiddleAndImagesToTheirPicture) {
    EXPECT_EQ(placeIndicatorButton({10, 40, 80, 10}, 100, 15), (PixelRect{10, 38, 100, 15}))
        << "the odd pixel goes below";
    EXPECT_EQ(placeIndicatorButton({10, 40, 80, 20}, 50, 15), (PixelRect{10, 40, 80, 20})) << "never smaller";
    EXPECT_EQ(placeImage({5, 6, 10, 40}, 32, 32), (PixelRect{5, 6, 32, 40}));
    EXPECT_EQ(placeImage({5, 6, 10, 40}, -1, -1), (PixelRect{5, 6, 10, 40})) << "no picture, no change";
}

} // namespace
} // namespace brenvik
