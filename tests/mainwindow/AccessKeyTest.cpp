#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

std::string pressedBy(const MainWindow& m, char letter) {
    const Control* target = m.accessKeyTarget(letter);
    return target ? target->name() : "<none>";
}

// The access keys the front ends without their own mnemonics follow: the letter marked in a
// caption, in either case, only on a button the user can reach in the window's present state.
TEST(AccessKeyTest, LetterMarkedInACaptionPressesOnlyAButtonTheUserCanReach) {
    TestApp app;
    app.drives.write("c:\\dati.bin", "0123456789");
    MainWindow& m = app.startIn();

    EXPECT_EQ(pressedBy(m, 'E'), "esci");
    EXPECT_EQ(pressedBy(m, 's'), "<none>") << "nothing to split before a file is chosen";
    EXPECT_EQ(pressedBy(m, '&'), "<none>");

    clickFile(m, "dati.bin");
    EXPECT_EQ(pressedBy(m, 's'), "split");

    app.desktop.answer(mb::IdOK);
    m.Option2.userClick();
    ASSERT_TRUE(m.Option2.value());
    EXPECT_EQ(pressedBy(m, 's'), "<none>") << "the split button is greyed in join mode";
}

} // namespace
} // namespace brenvik
