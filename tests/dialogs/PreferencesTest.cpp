#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

std::string states(const PreferencesPanel& p) {
    return std::to_string(p.cartsplit.value()) + std::to_string(p.cartunisci.value()) + std::to_string(p.about.value());
}

// Opens "&Opzioni"; the user does `action` in the panel.
void openPanel(TestApp& app, MainWindow& m, std::function<void(PreferencesPanel&)> action) {
    app.desktop.onModal("helpfrm", [&m, action](Form&) { action(m.helpfrm); });
    m.help.click();
}

TEST(PreferencesTest, AFreshUserSeesTheDefaultsChiudiDiscardsAndApplicaStoresInEveryKey) {
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
    EXPECT_FALSE(m.helpfrm.visible());
    EXPECT_EQ(app.setting("opzioni", "cartsplit"), "1");
    EXPECT_EQ(app.setting("opzioni", "cartunisci"), "0");
    EXPECT_EQ(app.setting("opzioni", "about"), "0");
    openPanel(app, m, [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "100");
        p.Command2.userClick();
    });
}

} // namespace
} // namespace brenvik
