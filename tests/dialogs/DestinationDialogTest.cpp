#include "support/Recorders.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// Opens "&Destinazione Files" from the main window; the user does `action` in the dialog.
void openDialog(TestApp& app, MainWindow& m, std::function<void(DestinationDialog&)> action) {
    app.desktop.onModal("optionsfrm", [&m, action](Form&) { action(m.optionsfrm); });
    m.options.click();
}

TEST(DestinationDialogTest, TypedPathIsStoredAsTypedAndItsMissingLevelsAreCreatedUpToAnExistingOne) {
    struct Case {
        const char* typed;
        const char* created;
        const char* absent; // the deeper levels wait for the split
    };
    for (const Case& c : {Case{"d:\\parti\\uno", "d:\\parti\\uno", nullptr},
                          Case{"c:\\myfiles\\nuova\\sotto", "c:\\myfiles", "c:\\myfiles\\nuova"}}) {
        TestApp app;
        app.drives.makeFolders("c:\\myfiles");
        MainWindow& m = app.startIn();
        openDialog(app, m, [&c](DestinationDialog& d) {
            d.outputdir.userEdit(c.typed);
            d.ok.userClick();
        });
        EXPECT_EQ(app.setting("Destinazione", "dir"), c.typed);
        EXPECT_TRUE(app.drives.isFolder(c.created)) << c.typed;
        EXPECT_TRUE(!c.absent || !app.drives.exists(c.absent)) << c.typed;
        EXPECT_TRUE(app.desktop.boxes.empty()) << c.typed;
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
        EXPECT_EQ(m.optionsfrm.outputdir.text(), "c:\\myfiles") << "annulla brings the stored value back";
    }
}

TEST(DestinationDialogTest, ResetShowsTheDefaultWhichOnlyOkStores) {
    for (bool ok : {false, true}) {
        TestApp app;
        app.store("Destinazione", "dir", "d:\\dati");
        MainWindow& m = app.startIn();
        openDialog(app, m, [ok](DestinationDialog& d) {
            d.reset.userClick();
            EXPECT_EQ(d.outputdir.text(), "c:\\myfiles");
            (ok ? d.ok : d.annulla).userClick();
        });
        EXPECT_EQ(app.setting("Destinazione", "dir"), ok ? "c:\\myfiles" : "d:\\dati");
        EXPECT_EQ(app.drives.isFolder("c:\\myfiles"), ok);
    }
}

TEST(DestinationDialogTest, ReopeningShowsTheStoredFolderInsteadOfUnconfirmedText) {
    TestApp app;
    app.store("Destinazione", "dir", "d:\\dati");
    MainWindow& m = app.startIn();
    // A per-file folder written while the dialog is hidden, as the file selection does.
    m.optionsfrm.outputdir.setText("d:\\dati\\[film.avi]");
    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.outputdir.userEdit("d:\\bozza");
        dlg.userClose();
    });
    EXPECT_FALSE(m.optionsfrm.loaded()) << "closed from its frame, the dialog is unloaded";
    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.annulla.userClick();
    });
    EXPECT_EQ(app.setting("Destinazione", "dir"), "d:\\dati");
    EXPECT_FALSE(app.drives.exists("d:\\bozza"));
}

TEST(DestinationDialogTest, ClosingDuringTheAnimationStopsItWithoutLoadingTheDialogAgain) {
    TestApp app;
    MainWindow& m = app.startIn();
    EXPECT_EQ(clickAndCloseAt(app, m.options, m.optionsfrm, 5), (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(m.optionsfrm.loaded());
    EXPECT_EQ(m.focused(), &m.Command1);
}

} // namespace
} // namespace brenvik
