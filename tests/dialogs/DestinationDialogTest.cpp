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
    for (const Case& c :
         {Case{"d:\\parti\\uno", "d:\\parti\\uno", nullptr}, Case{"c:\\myfiles", nullptr, nullptr},
          Case{"c:\\myfiles\\", nullptr, nullptr}, Case{"c:\\myfiles\\nuova\\sotto", nullptr, "c:\\myfiles\\nuova"}}) {
        TestApp app;
        app.drives.makeFolders("c:\\myfiles");
        MainWindow& m = app.startIn();
        openDialog(app, m, [&c](DestinationDialog& d) {
            d.outputdir.userEdit(c.typed);
            d.ok.userClick();
        });
        EXPECT_EQ(app.setting("Destinazione", "dir"), c.typed);
        EXPECT_EQ(m.optionsfrm.outputdir.text(), c.typed);
        if (c.created) {
            EXPECT_TRUE(app.drives.isFolder(c.created)) << c.typed;
        }
        if (c.absent) {
            EXPECT_FALSE(app.drives.exists(c.absent)) << c.typed;
        }
        EXPECT_FALSE(m.optionsfrm.visible()) << c.typed;
        EXPECT_TRUE(m.optionsfrm.loaded()) << "hidden, not unloaded";
        EXPECT_TRUE(app.desktop.boxes.empty()) << c.typed;
        EXPECT_EQ(m.focused(), &m.Command1) << "the main window is active again";
    }
}

TEST(DestinationDialogTest, AnInvalidPathIsRefusedAndTheDialogStaysWithTheText) {
    for (const char* typed : {"", "c", "q:\\parti", "e:\\parti", "d:\\a|b\\c"}) {
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
        ASSERT_EQ(app.desktop.boxes.size(), 1u) << typed;
        EXPECT_EQ(app.desktop.boxes[0].text, "Percorso non valido!");
        EXPECT_EQ(app.desktop.boxes[0].title, "Error!");
        EXPECT_EQ(app.desktop.boxes[0].flags, mb::OK | mb::Exclamation);
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
            EXPECT_EQ(d.outputdir.text(), "d:\\dati");
            d.reset.userClick();
            EXPECT_EQ(d.outputdir.text(), "c:\\myfiles");
            (ok ? d.ok : d.annulla).userClick();
        });
        const std::string kept = ok ? "c:\\myfiles" : "d:\\dati";
        EXPECT_EQ(m.optionsfrm.outputdir.text(), kept);
        EXPECT_EQ(app.setting("Destinazione", "dir"), kept);
        EXPECT_EQ(app.drives.isFolder("c:\\myfiles"), ok);
        EXPECT_FALSE(m.optionsfrm.visible());
    }
}

TEST(DestinationDialogTest, ReopeningShowsTheStoredFolderInsteadOfUnconfirmedText) {
    TestApp app;
    app.store("Destinazione", "dir", "d:\\dati");
    MainWindow& m = app.startIn();
    DestinationDialog& d = m.optionsfrm;

    // A per-file folder written while the dialog is hidden, as the file selection does.
    d.outputdir.setText("d:\\dati\\[film.avi]");
    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.outputdir.userEdit("d:\\bozza");
        dlg.userClose();
    });
    EXPECT_FALSE(d.loaded()) << "closed from its frame, the dialog is unloaded";
    EXPECT_EQ(d.outputdir.text(), "d:\\dati") << "and the next use loads it again from the store";

    openDialog(app, m, [](DestinationDialog& dlg) {
        EXPECT_EQ(dlg.outputdir.text(), "d:\\dati");
        dlg.annulla.userClick();
    });
    EXPECT_EQ(app.setting("Destinazione", "dir"), "d:\\dati");
    EXPECT_FALSE(app.drives.exists("d:\\bozza"));
    EXPECT_EQ(app.desktop.count("pause 1"), 44) << "the animation runs at every opening";
}

TEST(DestinationDialogTest, GrowsFromTheSmallestSizeInTwentyTwoSteps) {
    TestApp app;
    MainWindow& m = app.startIn();
    SizeRecorder sizes(m.optionsfrm, app.desktop.log);
    app.desktop.log.clear();
    openDialog(app, m, [](DestinationDialog& dlg) { dlg.annulla.userClick(); });
    const std::vector<std::string>& log = app.desktop.log;

    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "size 1x1");
    EXPECT_EQ(log[1], "show optionsfrm");
    // The size the window has at each pause, and each pause between two yields.
    std::vector<std::string> atPause;
    std::string size;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind("size ", 0) == 0)
            size = log[i].substr(5);
        if (log[i] == "pause 1") {
            atPause.push_back(size);
            ASSERT_TRUE(i > 0 && i + 1 < log.size());
            EXPECT_EQ(log[i - 1], "yield");
            EXPECT_EQ(log[i + 1], "yield");
        }
    }
    ASSERT_EQ(atPause.size(), 22u);
    EXPECT_EQ(atPause[0], "1x1");
    EXPECT_EQ(atPause[1], "0x0");
    EXPECT_EQ(atPause[2], "200x100");
    EXPECT_EQ(atPause[3], "400x200");
    EXPECT_EQ(atPause[4], "600x90") << "past 250 the height loses 210";
    EXPECT_EQ(atPause[21], "4000x1790");
    EXPECT_EQ(size, "4230x1890") << "the designed size again";
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
