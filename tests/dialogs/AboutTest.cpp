#include "platform/Utf8.h"
#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(AboutTest, TypesTheTextOneCharacterAtATimeWithOkDisabledUntilTheEndAtEveryOpening) {
    TestApp app;
    MainWindow& m = app.startIn();
    AboutWindow& a = m.aboutform;
    const std::string text = a.Text.text();
    const size_t chars = utf8::length(text);
    ASSERT_LT(chars, text.size()) << "the text has letters of more than one byte";
    // Every drawing as "<enabled of ok>|<text drawn>".
    std::vector<std::string> draws;
    ControlRecorder rec(a.Picture1, Property::Drawing, draws,
                        [&a] { return std::string(a.ok.enabled() ? "1|" : "0|") + a.Picture1.drawnText(); });
    app.desktop.onModal("aboutform", [&text](Form& f) {
        auto& w = static_cast<AboutWindow&>(f);
        EXPECT_TRUE(w.ok.enabled());
        EXPECT_EQ(w.Picture1.drawnText(), text);
        w.ok.userClick();
    });
    m.about.click();
    EXPECT_FALSE(a.visible());
    // Blank at first, then each step clears the box and draws one character more.
    std::vector<std::string> expected{"0|"};
    for (size_t i = 1; i <= chars; ++i)
        expected.insert(expected.end(), {"0|", "0|" + utf8::left(text, i)});
    EXPECT_EQ(draws, expected);

    draws.clear();
    app.desktop.onModal("aboutform", [](Form& f) { static_cast<AboutWindow&>(f).ok.userClick(); });
    m.about.click();
    EXPECT_EQ(draws, expected) << "reopened, it types from the first character again";
    EXPECT_EQ(m.focused(), &m.Command1);
}

} // namespace
} // namespace brenvik
