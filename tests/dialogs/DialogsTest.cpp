// The program's dialogs: the first run's preparation window and wizard, the destination dialog,
// the preferences and the about window.
#include "platform/Utf8.h"
#include "support/TestApp.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

// The user goes through the wizard: `typed` (when given) goes into the box on its page; "&Fine"
// is tried on every page, then after the fourth "&Avanti".
void finishWizard(TestApp& app, const char* typed) {
    app.desktop.onModal("wizard", [typed](Form& f) {
        auto& w = static_cast<Wizard&>(f);
        for (int clicks = 0; clicks < 4; ++clicks) {
            if (clicks == 2 && typed)
                w.dest.userEdit(typed);
            w.fine.userClick();
            EXPECT_TRUE(w.visible()) << "fine is pressed after " << clicks << " clicks on avanti";
            w.avanti.userClick();
        }
        w.fine.userClick();
    });
}

// Opens `dialog` through the main window's `button`; while it is modal the user does `action`
// in it.
template <typename Dialog, typename Action>
void openModal(TestApp& app, CommandButton& button, Dialog& dialog, Action action) {
    app.desktop.onModal(dialog.name(), [&dialog, action](Form&) { action(dialog); });
    button.click();
}

std::string states(const PreferencesPanel& p) {
    return std::to_string(p.cartsplit.value()) + std::to_string(p.cartunisci.value()) + std::to_string(p.about.value());
}

// Every drawing of the about window's picture, as "<enabled of ok>|<text drawn>".
struct Drawings : ControlView {
    explicit Drawings(AboutWindow& w) : a(w) { a.Picture1.setView(this); }
    ~Drawings() override { a.Picture1.setView(nullptr); }
    void changed(Property what) override {
        if (what == Property::Drawing)
            log.push_back(std::string(a.ok.enabled() ? "1|" : "0|") + a.Picture1.drawnText());
    }
    AboutWindow& a;
    std::vector<std::string> log;
};

TEST(DialogsTest, PreparationWindowClosedEarlyStopsItsCaptionsAndIsNotLoadedAgain) {
    TestApp app;
    InstallWindow early(app.platform);
    app.desktop.onYield = [&early, yields = 0]() mutable {
        if (++yields == 2)
            early.userClose();
    };
    early.showModal();
    EXPECT_FALSE(early.loaded());
    EXPECT_EQ(app.desktop.pauses, (std::vector<int>{1000, 400}));
}

TEST(DialogsTest, PreparationAndWizardRunAtEveryStartUntilFineStoresTheTypedFolderOrTheFallback) {
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
        finishWizard(app, c.typed);
        MainWindow& m = app.start();
        const auto at = [&app](const char* entry) { return std::ranges::find(app.desktop.log, entry); };
        EXPECT_LT(at("unload install"), at("show wizard")) << label;
        EXPECT_LT(at("unload wizard"), at("show main")) << label << ": both before the main window shows";
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

TEST(DialogsTest, DestinationOkStoresAValidTextCreatingItsLevelsUpToAnExistingOneAndRefusesAnInvalidOne) {
    struct Case {
        const char* typed; // nothing: Resetta, which shows the default
        bool ok = true;
        // Nothing for an invalid path: refused with a box, the dialog stays with the text until
        // Annulla, and the stored value stays.
        const char* stored = nullptr;
        const char *created = nullptr, *absent = nullptr; // absent: the deeper levels wait for the split
    };
    for (const Case& c :
         {Case{"d:\\parti\\uno", true, "d:\\parti\\uno", "d:\\parti\\uno"},
          Case{"c:\\dati\\nuova\\sotto", true, "c:\\dati\\nuova\\sotto", "c:\\dati", "c:\\dati\\nuova"},
          Case{nullptr, true, "c:\\myfiles", "c:\\myfiles"}, Case{nullptr, false, "d:\\dati", nullptr, "c:\\myfiles"},
          Case{""}, Case{"q:\\parti"}, Case{"e:\\parti"}, Case{"d:\\a|b\\c"}}) {
        SCOPED_TRACE(c.typed ? c.typed : "Resetta");
        TestApp app;
        app.drives.makeFolders("c:\\dati");
        app.drives.mapDrive('e', app.drives.under("not-inserted"));
        app.store("Destinazione", "dir", "d:\\dati");
        MainWindow& m = app.startIn();
        openModal(app, m.options, m.optionsfrm(), [&app, &c](DestinationDialog& d) {
            if (c.typed) {
                d.outputdir.userEdit(c.typed);
            } else {
                d.reset.userClick();
                EXPECT_EQ(d.outputdir.text(), "c:\\myfiles");
            }
            if (!c.stored)
                app.desktop.answer(mb::IdOK);
            (c.ok ? d.ok : d.annulla).userClick();
            if (!c.stored) {
                EXPECT_TRUE(d.visible());
                EXPECT_EQ(d.outputdir.text(), c.typed);
                d.annulla.userClick();
            }
        });
        const std::string stored = c.stored ? c.stored : "d:\\dati";
        EXPECT_EQ(app.desktop.count("box Percorso non valido!"), c.stored ? 0 : 1);
        EXPECT_EQ(app.setting("Destinazione", "dir"), stored);
        EXPECT_EQ(m.optionsfrm().outputdir.text(), stored);
        EXPECT_TRUE(!c.created || app.drives.isFolder(c.created));
        EXPECT_TRUE(!c.absent || !app.drives.exists(c.absent));
    }
}

TEST(DialogsTest, DestinationReopeningShowsTheStoredFolderAndClosingDuringTheAnimationStopsIt) {
    TestApp app;
    app.store("Destinazione", "dir", "d:\\dati");
    MainWindow& m = app.startIn();
    // A per-file folder written while the dialog is hidden, as the file selection does.
    m.optionsfrm().outputdir.setText("d:\\dati\\[film.avi]");
    openModal(app, m.options, m.optionsfrm(), [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.outputdir.userEdit("d:\\bozza");
        dlg.userClose();
    });
    EXPECT_FALSE(m.optionsfrm().loaded()) << "closed from its frame, the dialog is unloaded";
    openModal(app, m.options, m.optionsfrm(), [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.annulla.userClick();
    });
    EXPECT_EQ(app.setting("Destinazione", "dir"), "d:\\dati");
    EXPECT_FALSE(app.drives.exists("d:\\bozza"));

    // Closed during the opening animation, which stops without loading the dialog again.
    app.desktop.pauses.clear();
    app.desktop.onYield = [&m, yields = 0]() mutable {
        if (++yields == 5)
            m.optionsfrm().userClose();
    };
    m.options.click();
    EXPECT_EQ(app.desktop.pauses, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(m.optionsfrm().loaded());
    EXPECT_EQ(m.focused(), &m.Command1);
}

TEST(DialogsTest, PreferencesChiudiDiscardsApplicaStoresAndAboutTypesItsTextAtEveryOpening) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1"); // past the first run, no preference applied
    MainWindow& m = app.start();
    openModal(app, m.help, m.helpfrm(), [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "011");
        p.about.userClick();
        p.Command2.userClick();
    });
    EXPECT_EQ(app.setting("opzioni", "about"), "<absent>");
    openModal(app, m.help, m.helpfrm(), [](PreferencesPanel& p) {
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
    openModal(app, m.help, m.helpfrm(), [](PreferencesPanel& p) {
        EXPECT_EQ(states(p), "100");
        p.Command2.userClick();
    });

    // About types its text one character at a time, ok disabled until the end, at every opening.
    AboutWindow& a = m.aboutform();
    const std::string text = a.Text.text();
    const size_t chars = utf8::length(text);
    ASSERT_LT(chars, text.size()) << "the text has letters of more than one byte";
    Drawings draws(a);
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
    EXPECT_EQ(draws.log, expected);

    draws.log.clear();
    app.desktop.onModal("aboutform", [](Form& f) { static_cast<AboutWindow&>(f).ok.userClick(); });
    m.about.click();
    EXPECT_EQ(draws.log, expected) << "reopened, it types from the first character again";
    EXPECT_EQ(m.focused(), &m.Command1);
}

} // namespace
} // namespace brenvik
