#include "split/SplitTestSupport.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A started program with a file of `size` bytes selected, so that the size controls respond.
struct Selector {
    explicit Selector(int64_t size = 1500000) {
        app.drives.makeFolders("c:\\dati");
        makeSparseFile(app.drives, "c:\\dati\\file.bin", size);
        clickFile(app.startIn("c:\\dati"), "file.bin");
    }
    MainWindow& m() { return app.main(); }
    void key(int code, const std::string& typed = "") { m().Text.userKey(code, typed); }
    void type(const std::string& digits) {
        for (char c : digits)
            key(c, std::string(1, c));
    }

    TestApp app;
};

TEST(PartSizeSelectorTest, OversizedNumberIsReportedAndLosesItsLastDigit) {
    Selector s;
    MainWindow& m = s.m();
    // Only code can put more digits in the box than the user may type; the size then does not
    // fit 32 bits and the change leaves the part size alone.
    m.Text.setText("12345678");
    s.app.desktop.answer(mb::IdOK);
    s.key('A', "a");
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Numero troppo elevato");
    EXPECT_EQ(m.Text.text(), "1234567");
    EXPECT_EQ(m.grandezza, 1234567LL * 1024) << "seven digits fit again";
    // A size that fits is not reported: with no answer left, a box would fail the test.
    s.key('A', "a");
}

TEST(PartSizeSelectorTest, PresetsAndSpinnerSetTextSizeAndCount) {
    Selector s(100 * 1048576LL);
    MainWindow& m = s.m();
    m.Option4.userClick();
    EXPECT_EQ(m.Text.text(), "1024");
    EXPECT_EQ(m.grandezza, 1048576);
    EXPECT_EQ(m.numfile.caption(), "100");
    m.VScroll1.userLineDown();
    EXPECT_EQ(m.Text.text(), "1124");
    EXPECT_FALSE(m.Option4.value()) << "a size of the user's own unchecks the preset";
    s.key('A', "a");
    s.key(vk::Delete);
    EXPECT_EQ(m.Text.text(), "1124") << "keys other than digits and Backspace change nothing";

    s.type("0");
    EXPECT_EQ(m.Text.text(), "11240") << "the spinner's limit is not written back into the box";
    EXPECT_EQ(m.numfile.caption(), "10") << "104857600 / 11509760 = 9.1";
    s.type("0");
    EXPECT_EQ(m.numfile.caption(), "0") << "a part larger than the file";
    m.VScroll1.userLineUp();
    EXPECT_EQ(m.Text.text(), "32667") << "the arrow from the limit steps back into the range";
}

} // namespace
} // namespace brenvik
