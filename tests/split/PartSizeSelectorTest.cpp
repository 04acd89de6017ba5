#include "split/SplitTestSupport.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(PartSizeSelectorTest, PresetsSpinnerAndKeysSetTextSizeAndCountAndAnOversizedNumberLosesItsLastDigit) {
    // A file selected, so that the size controls respond.
    TestApp app;
    makeSparseFile(app.drives, "c:\\dati\\file.bin", 100 * 1048576LL);
    MainWindow& m = app.startIn("c:\\dati");
    clickFile(m, "file.bin");
    m.Option4.userClick();
    EXPECT_EQ(m.Text.text(), "1024");
    EXPECT_EQ(m.grandezza, 1048576);
    EXPECT_EQ(m.numfile.caption(), "100");
    m.VScroll1.userLineDown();
    EXPECT_EQ(m.Text.text(), "1124");
    EXPECT_FALSE(m.Option4.value()) << "a size of the user's own unchecks the preset";
    m.Text.userKey('A', "a");
    m.Text.userKey(vk::Delete, "");
    EXPECT_EQ(m.Text.text(), "1124") << "keys other than digits and Backspace change nothing";

    m.Text.userKey('0', "0");
    EXPECT_EQ(m.Text.text(), "11240") << "the spinner's limit is not written back into the box";
    EXPECT_EQ(m.numfile.caption(), "10") << "104857600 / 11509760 = 9.1";
    m.Text.userKey('0', "0");
    EXPECT_EQ(m.numfile.caption(), "0") << "a part larger than the file";
    m.VScroll1.userLineUp();
    EXPECT_EQ(m.Text.text(), "32667") << "the arrow from the limit steps back into the range";

    // Only code can put more digits in the box than the user may type; the size then does not
    // fit 32 bits and the change leaves the part size alone.
    m.Text.setText("12345678");
    app.desktop.answer(mb::IdOK);
    m.Text.userKey('A', "a");
    EXPECT_EQ(app.desktop.count("box Numero troppo elevato"), 1);
    EXPECT_EQ(m.Text.text(), "1234567");
    EXPECT_EQ(m.grandezza, 1234567LL * 1024) << "seven digits fit again";
    // A size that fits is not reported: with no answer left, a box would fail the test.
    m.Text.userKey('A', "a");
}

} // namespace
} // namespace brenvik
