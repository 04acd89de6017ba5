#include "platform/Layout.h"

#include "platform/Controls.h"
#include "platform/Form.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

class LabelForm : public Form {
public:
    explicit LabelForm(Platform& p) : Form(p, "labels"), label(add<Label>("label")) { applyDesign(); }
    Label& label;

protected:
    void design() override { label.setCaption("Parti"); }
};

// Text 50 wide in a font whose lines are 13 high, 15 apart.
constexpr TextMeasure Text{false, 50, 13, 13, 15};

int neverAsked(int) {
    ADD_FAILURE() << "the wrapped height was asked for a label that does not wrap";
    return 0;
}

TEST(LayoutTest, ALabelSizedToItsTextTakesItsWidthAndAtLeastItsHeight) {
    TestApp app;
    LabelForm form(app.platform);
    form.label.setAutoSize(true);
    EXPECT_EQ(placeLabel(form.label, {10, 20, 200, 5}, Text, neverAsked).rect, (PixelRect{10, 20, 51, 13}))
        << "narrower than designed, one pixel past the text";
    EXPECT_EQ(placeLabel(form.label, {10, 20, 20, 40}, Text, neverAsked).rect, (PixelRect{10, 20, 51, 40}));
    TextMeasure none = Text;
    none.empty = true;
    EXPECT_EQ(placeLabel(form.label, {10, 20, 20, 40}, none, neverAsked).rect.width, 0);
}

TEST(LayoutTest, AOneLineLabelGrowsOnTheSideItsAlignmentLeavesFree) {
    TestApp app;
    LabelForm form(app.platform);
    // 29 pixels short of the text and its extra pixel: one line, as 20 < 2 * 15.
    const PixelRect designed{100, 50, 22, 20};
    const LabelPlace left = placeLabel(form.label, designed, Text, neverAsked);
    EXPECT_EQ(left.rect, (PixelRect{100, 50, 51, 20}));
    EXPECT_FALSE(left.wraps);
    form.label.setAlignment(Align::Center);
    EXPECT_EQ(placeLabel(form.label, designed, Text, neverAsked).rect, (PixelRect{86, 50, 51, 20}))
        << "the odd pixel goes to the right";
    form.label.setAlignment(Align::Right);
    EXPECT_EQ(placeLabel(form.label, designed, Text, neverAsked).rect, (PixelRect{71, 50, 51, 20}));
    EXPECT_EQ(placeLabel(form.label, {100, 50, 300, 8}, Text, neverAsked).rect, (PixelRect{100, 50, 300, 13}))
        << "wide enough already: only as high as a line";
}

TEST(LayoutTest, ATallerLabelKeepsItsWidthAndGrowsDownOnlyWhenItWraps) {
    TestApp app;
    LabelForm form(app.platform);
    int askedWidth = -1;
    const LabelPlace wrapped = placeLabel(form.label, {0, 0, 30, 30}, Text, [&](int width) {
        askedWidth = width;
        return 52;
    });
    EXPECT_EQ(wrapped.rect, (PixelRect{0, 0, 30, 52}));
    EXPECT_TRUE(wrapped.wraps);
    EXPECT_EQ(askedWidth, 30);
    EXPECT_EQ(placeLabel(form.label, {0, 0, 30, 60}, Text, [](int) { return 52; }).rect, (PixelRect{0, 0, 30, 60}));
    form.label.setWordWrap(false);
    const LabelPlace cut = placeLabel(form.label, {0, 0, 30, 30}, Text, neverAsked);
    EXPECT_EQ(cut.rect, (PixelRect{0, 0, 30, 30}));
    EXPECT_FALSE(cut.wraps);
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
