#include "support/TestApp.h"

#include <gtest/gtest.h>
#include <optional>

namespace brenvik {
namespace {

// The user goes through the wizard: `typed` (when given) goes into the box on its page; "&Fine"
// is tried on every page, then after the fourth "&Avanti".
void finishWizard(TestApp& app, std::optional<std::string> typed = std::nullopt) {
    app.desktop.onModal("wizard", [typed](Form& f) {
        auto& w = static_cast<Wizard&>(f);
        for (int clicks = 0; clicks < 4; ++clicks) {
            if (clicks == 2 && typed)
                w.dest.userEdit(*typed);
            w.fine.userClick();
            EXPECT_TRUE(w.visible()) << "fine is pressed after " << clicks << " clicks on avanti";
            w.avanti.userClick();
        }
        w.fine.userClick();
    });
}

TEST(FirstRunTest, PreparationWindowClosedEarlyStopsItsCaptionsAndIsNotLoadedAgain) {
    TestApp app;
    InstallWindow early(app.platform);
    int yields = 0;
    app.desktop.onYield = [&] {
        if (++yields == 2)
            early.userClose();
    };
    early.showModal();
    EXPECT_FALSE(early.loaded());
    EXPECT_EQ(app.desktop.pauses, (std::vector<int>{1000, 400}));
}

TEST(FirstRunTest, PreparationAndWizardRunAtEveryStartUntilFineStoresTheTypedFolderOrTheFallback) {
    TestApp closed;
    closed.desktop.onModal("wizard", [](Form& f) {
        static_cast<Wizard&>(f).avanti.userClick();
        f.userClose();
    });
    closed.start();
    EXPECT_EQ(closed.setting("Primoavvio", "eseguito"), "<absent>");
    EXPECT_EQ(closed.setting("Destinazione", "dir"), "<absent>");

    struct Case {
        const char *typed, *existing, *stored, *created, *absent;
    };
    for (const Case& c : {
             // Nothing typed: the default, made at once.
             Case{nullptr, nullptr, "C:\\myfiles", "c:\\myfiles", nullptr},
             // An existing upper level stops the walk; the typed text is kept.
             Case{"d:\\archivio\\nuovo", "d:\\archivio", "d:\\archivio\\nuovo", nullptr, "d:\\archivio\\nuovo"},
             // Typed on its page, hidden on the next one, still used.
             Case{"d:\\mie\\parti", nullptr, "d:\\mie\\parti", "d:\\mie\\parti", nullptr},
             // A drive that is not there: the fallback, unreported.
             Case{"q:\\parti", nullptr, "C:\\myfiles", nullptr, "c:\\myfiles"},
         }) {
        const std::string label = c.typed ? c.typed : "nothing typed";
        TestApp app;
        app.settings = closed.settings;
        if (c.existing)
            app.drives.makeFolders(c.existing);
        finishWizard(app, c.typed ? std::optional<std::string>(c.typed) : std::nullopt);
        MainWindow& m = app.start();
        const auto& log = app.desktop.log;
        const auto position = [&log](const std::string& entry) { return std::find(log.begin(), log.end(), entry); };
        EXPECT_LT(position("unload install"), position("show wizard")) << label;
        EXPECT_LT(position("unload wizard"), position("show main")) << label << ": both before the main window shows";
        EXPECT_FALSE(m.wizard().loaded()) << label;
        EXPECT_EQ(app.setting("Primoavvio", "eseguito"), "1") << label;
        EXPECT_EQ(app.setting("Destinazione", "dir"), c.stored) << label;
        EXPECT_TRUE(!c.created || app.drives.isFolder(c.created)) << label;
        // Deeper levels are left to the split; the fallback is only stored.
        EXPECT_TRUE(!c.absent || !app.drives.exists(c.absent)) << label;

        TestApp next;
        next.settings = app.settings;
        next.start();
        EXPECT_EQ(next.desktop.count("show install"), 0) << label;
        EXPECT_EQ(next.desktop.count("show wizard"), 0) << label;
    }
}

} // namespace
} // namespace brenvik
