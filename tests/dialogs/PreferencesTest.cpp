#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A user past the first run who never applied any preference.
void presetNoPreferences(TestApp& app) {
    app.store("Primoavvio", "eseguito", "1");
    app.store("path", "initialdir", "c:\\");
}

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
    presetNoPreferences(app);
    MainWindow& m = app.start();
    openPanel(app, m, [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "011");
        EXPECT_EQ(p.focused(), &p.focus);
        p.about.userClick();
        EXPECT_EQ(p.about.value(), 0);
        p.Command2.userClick();
    });
    EXPECT_FALSE(m.helpfrm.visible());
    EXPECT_TRUE(m.helpfrm.loaded()) << "hidden, not unloaded";
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

TEST(PreferencesTest, AnAppliedAboutOffHidesTheStartupPictureNextTime) {
    TestApp app;
    presetNoPreferences(app);
    MainWindow& m = app.start();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    openPanel(app, m, [](PreferencesPanel& p) {
        p.about.userClick();
        p.Command1.userClick();
    });

    TestApp next;
    next.settings = app.settings;
    next.start();
    EXPECT_EQ(next.desktop.count("show mainform"), 0);
}

TEST(PreferencesTest, TheGuideOpensFromThePanelWhichReloadsWhenItCloses) {
    TestApp app;
    presetNoPreferences(app);
    MainWindow& m = app.start();
    app.desktop.onModal("helpfrm", [&m](Form&) {
        PreferencesPanel& p = m.helpfrm;
        p.about.userClick();
        p.cartsplit.setFocus();
        p.help.userClick();
        EXPECT_FALSE(m.guida.loaded()) << "the guide unloads when closed";
        EXPECT_TRUE(p.visible());
        EXPECT_EQ(states(p), "011") << "activated again, the panel reloads from the store";
        EXPECT_EQ(p.focused(), &p.focus);
        p.Command2.userClick();
    });
    app.desktop.onModal("guida", [](Form& f) {
        EXPECT_EQ(static_cast<GuideWindow&>(f).Text1.text(), GuideWindow::HelpText);
        f.userClose();
    });
    m.help.click();
    EXPECT_EQ(app.desktop.pendingModals(), 0u);
    EXPECT_EQ(app.setting("opzioni", "about"), "<absent>");
}

} // namespace
} // namespace brenvik
