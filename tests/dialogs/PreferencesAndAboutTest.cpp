#include "platform/Utf8.h"
#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

std::string states(const PreferencesPanel& p) {
    return std::to_string(p.cartsplit.value()) + std::to_string(p.cartunisci.value()) + std::to_string(p.about.value());
}

// Opens "&Opzioni"; the user does `action` in the panel.
void openPanel(TestApp& app, MainWindow& m, std::function<void(PreferencesPanel&)> action) {
    app.desktop.onModal("helpfrm", [&m, action](Form&) { action(m.helpfrm()); });
    m.help.click();
}

TEST(PreferencesAndAboutTest, PreferencesChiudiDiscardsApplicaStoresAndAboutTypesItsTextAtEveryOpening) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1"); // past the first run, no preference applied
    MainWindow& m = app.start();
    openPanel(app, m, [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "011");
        p.about.userClick();
        p.Command2.userClick();
    });
    EXPECT_EQ(app.setting("opzioni", "about"), "<absent>");
    openPanel(app, m, [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "011") << "what was not applied is gone";
        p.about.userClick();
        p.cartsplit.userClick();
        p.cartunisci.userClick();
        p.Command1.userClick();
    });
    EXPECT_FALSE(m.helpfrm().visible());
    EXPECT_EQ(app.setting("opzioni", "cartsplit"), "1");
    EXPECT_EQ(app.setting("opzioni", "cartunisci"), "0");
    EXPECT_EQ(app.setting("opzioni", "about"), "0");
    openPanel(app, m, [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "100");
        p.Command2.userClick();
    });

    // About types its text one character at a time, ok disabled until the end, at every opening.
    AboutWindow& a = m.aboutform();
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
        EXPECT_TRUE(w.ok.hasFocus()) << "Enter or Space closes it";
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
