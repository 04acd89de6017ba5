#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>
#include <optional>

namespace brenvik {
namespace {

// The user goes through the wizard: `typed` (when given) goes into the box on its page, then
// "&Avanti" four times and "&Fine".
void finishWizard(TestApp& app, std::optional<std::string> typed = std::nullopt) {
    app.desktop.onModal("wizard", [typed](Form& f) {
        auto& w = static_cast<Wizard&>(f);
        w.avanti.userClick();
        w.avanti.userClick();
        if (typed)
            w.dest.userEdit(*typed);
        w.avanti.userClick();
        w.avanti.userClick();
        EXPECT_FALSE(w.dest.visible());
        w.fine.userClick();
    });
}

TEST(FirstRunTest, PreparationWindowShowsItsCaptionsBetweenThePausesThenUnloads) {
    TestApp app;
    InstallWindow w(app.platform);
    EXPECT_EQ(w.caption(), "");
    ControlRecorder captions(w.Label1, Property::Caption, app.desktop.log,
                             [&w] { return "caption " + w.Label1.caption(); });
    w.showModal();
    EXPECT_EQ(app.desktop.log, (std::vector<std::string>{
                                   "show install",
                                   "yield",
                                   "pause 1000",
                                   "caption Inizio caricamento Brenvik...",
                                   "yield",
                                   "pause 400",
                                   "caption Caricamento completato...",
                                   "yield",
                                   "pause 900",
                                   "caption Preparazione primo avvio...",
                                   "yield",
                                   "pause 800",
                                   "caption Carico l'interfaccia guidata...",
                                   "yield",
                                   "pause 700",
                                   "caption Caricamento totale completato!",
                                   // Unloading puts the design caption back.
                                   "caption Preparazione al Primo Avvio Brenvik in Corso...",
                                   "unload install",
                               }));
    EXPECT_FALSE(w.loaded());

    // Closed early, it stops its captions and is not loaded again by them.
    InstallWindow early(app.platform);
    app.desktop.pauses.clear();
    int yields = 0;
    app.desktop.onYield = [&] {
        if (++yields == 2)
            early.userClose();
    };
    early.showModal();
    EXPECT_FALSE(early.loaded());
    EXPECT_EQ(app.desktop.pauses, (std::vector<int>{1000, 400}));
}

TEST(FirstRunTest, PreparationAndWizardRunAtEveryStartUntilTheWizardIsFinished) {
    TestApp closed;
    closed.desktop.onModal("wizard", [](Form& f) {
        static_cast<Wizard&>(f).avanti.userClick();
        f.userClose();
    });
    closed.start();
    EXPECT_EQ(closed.setting("Primoavvio", "eseguito"), "<absent>");
    EXPECT_EQ(closed.setting("Destinazione", "dir"), "<absent>");

    TestApp app;
    app.settings = closed.settings;
    finishWizard(app);
    MainWindow& m = app.start();
    const auto& log = app.desktop.log;
    const auto position = [&log](const std::string& entry) { return std::find(log.begin(), log.end(), entry); };
    EXPECT_LT(position("show install"), position("unload install"));
    EXPECT_LT(position("unload install"), position("show wizard"));
    EXPECT_LT(position("unload wizard"), position("show main")) << "both before the main window shows";
    EXPECT_EQ(app.setting("Primoavvio", "eseguito"), "1");
    EXPECT_EQ(app.setting("Destinazione", "dir"), "C:\\myfiles");
    EXPECT_TRUE(app.drives.isFolder("c:\\myfiles"));
    EXPECT_FALSE(m.wizard.loaded());
    EXPECT_EQ(m.infolabel.caption(), "Brenvik caricato!");

    TestApp next;
    next.settings = app.settings;
    next.start();
    EXPECT_EQ(next.desktop.count("show install"), 0);
    EXPECT_EQ(next.desktop.count("show wizard"), 0);
}

TEST(FirstRunTest, AvantiRevealsThePagesAndOnlyTheFourthClickEnablesFine) {
    TestApp app;
    app.desktop.onModal("wizard", [&](Form& f) {
        auto& w = static_cast<Wizard&>(f);
        auto page = [&] {
            std::string out;
            for (Control* c : std::initializer_list<Control*>{&w.Label1, &w.Label2, &w.Label3, &w.Label4, &w.Label5,
                                                              &w.Label6, &w.dest, &w.Label7, &w.Label8})
                out += c->visible() ? '1' : '0';
            return out;
        };
        EXPECT_EQ(w.focused(), &w.focus);
        EXPECT_EQ(page(), "110000000");
        EXPECT_FALSE(w.fine.enabled());
        w.avanti.userClick();
        EXPECT_EQ(page(), "111100000");
        w.avanti.userClick();
        EXPECT_EQ(page(), "111111100");
        w.avanti.userClick();
        EXPECT_EQ(page(), "111111011") << "the box goes; the labels of page 4 cover the rest";
        w.fine.userClick();
        EXPECT_TRUE(w.visible()) << "fine cannot be pressed yet";

        w.avanti.userClick();
        EXPECT_FALSE(w.avanti.enabled());
        EXPECT_TRUE(w.fine.enabled());
        EXPECT_EQ(app.setting("Primoavvio", "eseguito"), "<absent>");
        w.fine.userClick();
    });
    app.start();
    EXPECT_EQ(app.setting("Primoavvio", "eseguito"), "1");
}

TEST(FirstRunTest, FineStoresTheTypedFolderOrFallsBackAndAlwaysMarksTheFirstRunDone) {
    struct Case {
        const char* typed;
        const char* existing;
        const char* stored;
        const char* created;
        const char* absent;
    };
    for (const Case& c : {
             // The default when the folder exists: the first level raises 75.
             Case{"C:\\myfiles", "c:\\myfiles", "C:\\myfiles", nullptr, nullptr},
             // An existing upper level stops the walk; the typed text is kept.
             Case{"d:\\archivio\\nuovo", "d:\\archivio", "d:\\archivio\\nuovo", nullptr, "d:\\archivio\\nuovo"},
             // Typed on its page, hidden on the next one, still used.
             Case{"d:\\mie\\parti", nullptr, "d:\\mie\\parti", "d:\\mie\\parti", nullptr},
             // Nothing to walk, or a drive that is not there: the fallback, unreported.
             Case{"", nullptr, "C:\\myfiles", nullptr, "c:\\myfiles"},
             Case{"q:\\parti", nullptr, "C:\\myfiles", nullptr, "c:\\myfiles"},
         }) {
        TestApp app;
        if (c.existing)
            app.drives.makeFolders(c.existing);
        finishWizard(app, std::string(c.typed));
        MainWindow& m = app.start();
        EXPECT_EQ(app.setting("Destinazione", "dir"), c.stored) << c.typed;
        EXPECT_EQ(app.setting("Primoavvio", "eseguito"), "1") << c.typed;
        EXPECT_TRUE(app.desktop.boxes.empty()) << c.typed;
        EXPECT_FALSE(m.wizard.loaded()) << c.typed;
        if (c.created) {
            EXPECT_TRUE(app.drives.isFolder(c.created)) << c.typed;
        }
        if (c.absent) {
            // Deeper levels are left to the split; the fallback is only stored.
            EXPECT_FALSE(app.drives.exists(c.absent)) << c.typed;
        }
    }
}

} // namespace
} // namespace brenvik
