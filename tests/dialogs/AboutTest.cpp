#include "platform/Utf8.h"
#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// Every drawing of the About box as "<enabled of ok>|<text drawn>", in order.
struct TypingRecorder {
    explicit TypingRecorder(AboutWindow& w)
        : view(w.Picture1, Property::Drawing, draws,
               [&w] { return std::string(w.ok.enabled() ? "1|" : "0|") + w.Picture1.drawnText(); }) {}
    std::vector<std::string> draws;
    ControlRecorder view;
};

void openAbout(TestApp& app, MainWindow& m, std::function<void(AboutWindow&)> action) {
    app.desktop.onModal("aboutform", [&m, action](Form&) { action(m.aboutform); });
    m.about.click();
}

TEST(AboutTest, TypesTheTextOneCharacterAtATimeWithOkDisabledUntilTheEndAtEveryOpening) {
    TestApp app;
    MainWindow& m = app.startIn();
    AboutWindow& a = m.aboutform;
    EXPECT_FALSE(m.Image1.picture().empty());
    EXPECT_EQ(a.Image1.picture(), m.Image1.picture()) << "the banner is copied from the main window at load";
    const std::string text = a.Text.text();
    const size_t chars = utf8::length(text);
    ASSERT_LT(chars, text.size()) << "the text has letters of more than one byte";
    TypingRecorder rec(a);
    app.desktop.pauses.clear();
    openAbout(app, m, [&text](AboutWindow& w) {
        EXPECT_TRUE(w.ok.enabled());
        EXPECT_EQ(w.Picture1.drawnText(), text);
        w.ok.userClick();
    });
    EXPECT_FALSE(a.visible());
    EXPECT_TRUE(a.loaded()) << "hidden, not unloaded";
    EXPECT_EQ(app.desktop.pauses, std::vector<int>(chars, 25)) << "one pause per character";
    ASSERT_FALSE(rec.draws.empty());
    EXPECT_EQ(rec.draws[0], "0|") << "blank before the first character";
    std::vector<std::string> typed;
    for (const std::string& d : rec.draws) {
        EXPECT_EQ(d.substr(0, 2), "0|") << "ok stays disabled while typing";
        if (d.size() > 2)
            typed.push_back(d.substr(2));
    }
    ASSERT_EQ(typed.size(), chars);
    for (size_t i = 0; i < chars; ++i)
        ASSERT_EQ(typed[i], utf8::left(text, i + 1)) << "step " << i;

    const std::vector<std::string> first = rec.draws;
    rec.draws.clear();
    openAbout(app, m, [](AboutWindow& w) { w.ok.userClick(); });
    EXPECT_EQ(rec.draws, first) << "reopened, it types from the first character again";
    EXPECT_EQ(m.focused(), &m.Command1);
}

TEST(AboutTest, AnEmptyTextLeavesTheBoxBlankAndOkEnabledAtOnce) {
    TestApp app;
    MainWindow& m = app.startIn();
    openAbout(app, m, [](AboutWindow& w) { w.ok.userClick(); });
    m.aboutform.Text.setText("");
    app.desktop.pauses.clear();
    openAbout(app, m, [](AboutWindow& w) {
        EXPECT_TRUE(w.ok.enabled());
        EXPECT_EQ(w.Picture1.drawnText(), "");
        w.ok.userClick();
    });
    EXPECT_TRUE(app.desktop.pauses.empty());
}

TEST(AboutTest, ClosingDuringTheTypingStopsItWithoutLoadingTheWindowAgain) {
    TestApp app;
    MainWindow& m = app.startIn();
    EXPECT_EQ(clickAndCloseAt(app, m.about, m.aboutform, 9).size(), 5u);
    EXPECT_FALSE(m.aboutform.loaded());
    EXPECT_TRUE(m.aboutform.ok.enabled()) << "a window loaded again starts as designed";
}

} // namespace
} // namespace brenvik
