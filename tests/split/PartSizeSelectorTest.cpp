#include "split/SplitTestSupport.h"
#include "support/PartSizeDriver.h"

#include <gtest/gtest.h>
#include <random>

namespace brenvik {
namespace {

using splittest::setSizeKb;

// A started program with a file of `size` bytes selected, so that the size controls respond.
struct Selector {
    explicit Selector(int64_t size = 1500000) {
        app.drives.makeFolders("c:\\dati");
        makeSparseFile(app.drives, "c:\\dati\\file.bin", size);
        MainWindow& w = app.startIn("c:\\dati");
        clickFile(w, "file.bin");
    }
    MainWindow& m() { return app.main(); }
    void key(int code, const std::string& typed = "") { m().Text.userKey(code, typed); }
    void digit(char c) { key(c, std::string(1, c)); }

    TestApp app;
};

TEST(PartSizeSelectorTest, StartsAt500KbAndDoesNotRespondBeforeAFileIsChosen) {
    TestApp app;
    MainWindow& m = app.startIn();
    // The box, the preset, the size and the count at start are checked with the start-up state.
    EXPECT_FALSE(m.Option4.value());
    EXPECT_EQ(m.VScroll1.value(), 500);
    m.Text.userKey('1', "1");
    m.VScroll1.userLineDown();
    m.Option4.userClick();
    EXPECT_EQ(m.Text.text(), "500");
    EXPECT_EQ(m.grandezza, 512000);
}

TEST(PartSizeSelectorTest, TypedDigitsAppendOrReplaceAZeroAndOtherKeysChangeNothing) {
    Selector s;
    MainWindow& m = s.m();
    s.digit('1');
    EXPECT_EQ(m.Text.text(), "5001");
    EXPECT_EQ(m.grandezza, 5001 * 1024);
    EXPECT_FALSE(m.Option3.value()) << "a typed size unchecks the preset";
    EXPECT_EQ(m.VScroll1.value(), 5001);
    EXPECT_TRUE(m.Text.locked()) << "locked again at rest";

    for (int i = 0; i < 3; ++i)
        s.key(vk::Back);
    EXPECT_EQ(m.Text.text(), "5");
    s.key(vk::Back);
    EXPECT_EQ(m.Text.text(), "0") << "the box is never left empty";
    EXPECT_EQ(m.grandezza, 0);
    EXPECT_EQ(m.VScroll1.value(), 0);
    s.key(vk::Back);
    EXPECT_EQ(m.Text.text(), "0");

    s.digit('7');
    EXPECT_EQ(m.Text.text(), "7") << "the digit replaces the zero";
    EXPECT_EQ(m.grandezza, 7 * 1024);
    s.key(vk::Back);
    s.key(vk::Numpad0 + 4, "4");
    EXPECT_EQ(m.Text.text(), "4") << "a keypad digit on zero replaces it too";
    s.key(vk::Numpad0 + 2, "2");
    EXPECT_EQ(m.Text.text(), "42");
    EXPECT_FALSE(m.Option3.value());
    EXPECT_FALSE(m.Option4.value());

    s.key('A', "a");
    s.key(vk::Delete);
    s.key(190, ".");
    EXPECT_EQ(m.Text.text(), "42");
    EXPECT_EQ(m.grandezza, 42 * 1024);

    for (char c : std::string("3456"))
        s.digit(c);
    EXPECT_EQ(m.Text.text(), "423456");
    s.digit('7');
    EXPECT_EQ(m.Text.text(), "423456") << "a seventh digit is refused";
    EXPECT_EQ(m.grandezza, 423456LL * 1024);

    m.Text.setSelStart(1);
    m.Text.userClick();
    EXPECT_EQ(m.Text.selStart(), 6) << "a click puts the caret at the end";
}

TEST(PartSizeSelectorTest, OversizedNumberIsReportedAndLosesItsLastDigit) {
    Selector s;
    MainWindow& m = s.m();
    // Only code can put more digits in the box than the user may type; the size then does not
    // fit 32 bits and the change leaves the part size alone.
    m.Text.setText("12345678");
    EXPECT_EQ(m.grandezza, 512000);
    s.app.desktop.answer(mb::IdOK);
    s.key('A', "a");
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Numero troppo elevato");
    EXPECT_EQ(s.app.desktop.boxes[0].flags, mb::OK);
    EXPECT_EQ(s.app.desktop.boxes[0].title, "Brenvik");
    EXPECT_EQ(m.Text.text(), "1234567");
    EXPECT_EQ(m.grandezza, 1234567LL * 1024) << "seven digits fit again";
    EXPECT_EQ(m.VScroll1.value(), 32767);

    s.key('A', "a");
    EXPECT_EQ(m.Text.text(), "1234567");
    EXPECT_EQ(s.app.desktop.boxes.size(), 1u) << "a size that fits is not reported";
}

TEST(PartSizeSelectorTest, PresetsSetTextSpinnerAndSize) {
    Selector s;
    MainWindow& m = s.m();
    m.Option4.userClick();
    EXPECT_EQ(m.Text.text(), "1024");
    EXPECT_TRUE(m.Option4.value());
    EXPECT_FALSE(m.Option3.value());
    EXPECT_EQ(m.VScroll1.value(), 1024);
    EXPECT_EQ(m.grandezza, 1048576);
    EXPECT_EQ(m.numfile.caption(), "2");

    m.Option3.userClick();
    EXPECT_EQ(m.Text.text(), "500");
    EXPECT_TRUE(m.Option3.value());
    EXPECT_FALSE(m.Option4.value());
    EXPECT_EQ(m.VScroll1.value(), 500);
    EXPECT_EQ(m.grandezza, 512000);

    // Typing the preset's size by hand is not choosing the preset.
    for (int i = 0; i < 3; ++i)
        s.key(vk::Back);
    for (char c : std::string("500"))
        s.digit(c);
    EXPECT_EQ(m.Text.text(), "500");
    EXPECT_FALSE(m.Option3.value());
    EXPECT_EQ(m.grandezza, 512000);
}

TEST(PartSizeSelectorTest, SpinnerArrowsStepByAHundredWithinItsRange) {
    Selector s;
    MainWindow& m = s.m();
    m.VScroll1.userLineDown();
    EXPECT_EQ(m.Text.text(), "600");
    EXPECT_EQ(m.grandezza, 600 * 1024);
    EXPECT_FALSE(m.Option3.value());
    EXPECT_FALSE(m.Option4.value());
    EXPECT_EQ(m.numfile.caption(), "3");

    setSizeKb(m, 50);
    EXPECT_EQ(m.VScroll1.value(), 50);
    m.VScroll1.userLineUp();
    EXPECT_EQ(m.Text.text(), "0");
    EXPECT_EQ(m.grandezza, 0);
    EXPECT_EQ(m.numfile.caption(), "0");
}

TEST(PartSizeSelectorTest, SizesBeyondTheSpinnerKeepTheirTextAndRefreshTheCount) {
    Selector s(100 * 1048576LL);
    MainWindow& m = s.m();
    setSizeKb(m, 4000);
    EXPECT_EQ(m.numfile.caption(), "26");
    s.digit('0');
    EXPECT_EQ(m.Text.text(), "40000") << "the spinner's limit is not written back into the box";
    EXPECT_EQ(m.grandezza, 40000LL * 1024);
    EXPECT_EQ(m.VScroll1.value(), 32767) << "the spinner shows its nearest value";
    EXPECT_EQ(m.numfile.caption(), "3") << "104857600 / 40960000 = 2.56";
    s.digit('0');
    EXPECT_EQ(m.grandezza, 400000LL * 1024);
    EXPECT_EQ(m.numfile.caption(), "0") << "409600000 bytes are more than the file";
    // The arrow from the limit steps back into the range and takes the box with it.
    m.VScroll1.userLineUp();
    EXPECT_EQ(m.Text.text(), "32667");
    EXPECT_EQ(m.grandezza, 32667LL * 1024);
}

TEST(PartSizeSelectorTest, RandomKeysAndClicksNeverLeaveTheControlsOutOfStep) {
    for (int64_t size : {int64_t{1500000}, int64_t{0}, int64_t{5} * 1024 * 1048576}) {
        Selector s(size);
        std::mt19937 random(20240611u + static_cast<unsigned>(size % 1000));
        for (int i = 0; i < 3000; ++i) {
            const auto choice = static_cast<unsigned char>(random());
            partsize::act(s.m(), choice);
            auto wrong = partsize::inconsistency(s.m());
            ASSERT_FALSE(wrong) << *wrong << " after action " << i << " (" << int{choice} << "), file of " << size;
        }
        EXPECT_TRUE(s.app.desktop.boxes.empty());
    }
}

} // namespace
} // namespace brenvik
