#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// Opens "&Destinazione Files" from the main window; the user does `action` in the dialog.
void openDialog(TestApp& app, MainWindow& m, std::function<void(DestinationDialog&)> action) {
    app.desktop.onModal("optionsfrm", [&m, action](Form&) { action(m.optionsfrm()); });
    m.options.click();
}

TEST(DestinationDialogTest, OkStoresTheTextAsItStandsAndCreatesItsLevelsUpToAnExistingOne) {
    struct Case {
        const char* typed; // nothing: Resetta, which shows the default
        bool ok;
        const char *stored, *created, *absent; // absent: the deeper levels wait for the split
    };
    for (const Case& c : {Case{"d:\\parti\\uno", true, "d:\\parti\\uno", "d:\\parti\\uno", nullptr},
                          Case{"c:\\dati\\nuova\\sotto", true, "c:\\dati\\nuova\\sotto", "c:\\dati", "c:\\dati\\nuova"},
                          Case{nullptr, true, "c:\\myfiles", "c:\\myfiles", nullptr},
                          Case{nullptr, false, "d:\\dati", nullptr, "c:\\myfiles"}}) {
        TestApp app;
        app.drives.makeFolders("c:\\dati");
        app.store("Destinazione", "dir", "d:\\dati");
        MainWindow& m = app.startIn();
        openDialog(app, m, [&c](DestinationDialog& d) {
            if (c.typed) {
                d.outputdir.userEdit(c.typed);
            } else {
                d.reset.userClick();
                EXPECT_EQ(d.outputdir.text(), "c:\\myfiles");
            }
            (c.ok ? d.ok : d.annulla).userClick();
        });
        const std::string label = c.typed ? c.typed : "Resetta";
        EXPECT_EQ(app.setting("Destinazione", "dir"), c.stored) << label;
        EXPECT_TRUE(!c.created || app.drives.isFolder(c.created)) << label;
        EXPECT_TRUE(!c.absent || !app.drives.exists(c.absent)) << label;
    }
}

TEST(DestinationDialogTest, AnInvalidPathIsRefusedAndTheDialogStaysWithTheText) {
    for (const char* typed : {"", "q:\\parti", "e:\\parti", "d:\\a|b\\c"}) {
        TestApp app;
        app.drives.mapDrive('e', app.drives.under("not-inserted"));
        MainWindow& m = app.startIn();
        openDialog(app, m, [&app, typed](DestinationDialog& d) {
            d.outputdir.userEdit(typed);
            app.desktop.answer(mb::IdOK);
            d.ok.userClick();
            EXPECT_TRUE(d.visible()) << typed;
            EXPECT_EQ(d.outputdir.text(), typed);
            d.annulla.userClick();
        });
        EXPECT_EQ(app.desktop.count("box Percorso non valido!"), 1) << typed;
        EXPECT_EQ(app.setting("Destinazione", "dir"), "<absent>") << typed;
        EXPECT_EQ(m.optionsfrm().outputdir.text(), "c:\\myfiles") << "annulla brings the stored value back";
    }
}

TEST(DestinationDialogTest, ReopeningShowsTheStoredFolderAndClosingDuringTheAnimationStopsIt) {
    TestApp app;
    app.store("Destinazione", "dir", "d:\\dati");
    MainWindow& m = app.startIn();
    // A per-file folder written while the dialog is hidden, as the file selection does.
    m.optionsfrm().outputdir.setText("d:\\dati\\[film.avi]");
    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.outputdir.userEdit("d:\\bozza");
        dlg.userClose();
    });
    EXPECT_FALSE(m.optionsfrm().loaded()) << "closed from its frame, the dialog is unloaded";
    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.annulla.userClick();
    });
    EXPECT_EQ(app.setting("Destinazione", "dir"), "d:\\dati");
    EXPECT_FALSE(app.drives.exists("d:\\bozza"));

    // Closed during the opening animation, which stops without loading the dialog again.
    EXPECT_EQ(clickAndCloseAt(app, m.options, m.optionsfrm(), 5), (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(m.optionsfrm().loaded());
    EXPECT_EQ(m.focused(), &m.Command1);
}

} // namespace
} // namespace brenvik
