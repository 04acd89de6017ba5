#include "support/TestApp.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(StartupTest, ReturningUserStartsInTheStoredFolderWithTheInitialState) {
    TestApp app;
    MainWindow& m = app.startIn("c:\\dati");
    for (const std::string& path : {m.dir.path(), m.list.path(), m.File2.path(), m.pathbar.text(), m.dir.toolTip()})
        EXPECT_EQ(path, "c:\\dati");
    EXPECT_EQ(m.grandezza, 512000);
    EXPECT_FALSE(m.split.enabled());
    EXPECT_TRUE(m.optionsfrm.loaded() && m.nomefile.loaded()) << "the dialogs load hidden with the main window";
    EXPECT_FALSE(m.optionsfrm.visible());
}

TEST(StartupTest, TheStoredFolderRunsTheBrowsersHandlersEvenWhereTheListsAlreadyStand) {
    // The lists start on c:\, the folder stored here.
    TestApp app;
    app.drives.write("c:\\p.000", "a");
    app.drives.write("c:\\p.001", "b");
    MainWindow& m = app.startIn("c:\\");
    EXPECT_EQ(m.list.toolTip(), "") << "the file list's folder change ran";
    EXPECT_EQ(m.File2.selCount(), 2) << "the search ran";
    EXPECT_EQ(m.nomebase, "p");
    EXPECT_EQ(m.infolabel.caption(), "Brenvik caricato!");
}

TEST(StartupTest, MissingStoredFolderFallsBackSilently) {
    TestApp app;
    app.presetReturningUser();
    app.store("path", "initialdir", "c:\\cancellata");
    app.drives.makeFolders("c:\\windows\\desktop");
    MainWindow& m = app.start();
    EXPECT_EQ(m.pathbar.text(), "c:\\windows\\desktop");
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\cancellata") << "the stored folder is not changed";
    EXPECT_TRUE(app.desktop.boxes.empty());

    TestApp bare;
    bare.presetReturningUser();
    bare.store("path", "initialdir", "c:\\cancellata");
    MainWindow& b = bare.start();
    EXPECT_EQ(b.dir.path(), "c:\\") << "without the fallback folder the root of c: is shown";
}

TEST(StartupTest, StartupPictureShowsOnceAtTheFirstActivationUnlessTurnedOff) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1");
    MainWindow& m = app.start();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    EXPECT_EQ(app.desktop.beeps, 1);
    auto first = std::find(app.desktop.log.begin(), app.desktop.log.end(), "pause 100");
    auto picture = std::find(app.desktop.log.begin(), app.desktop.log.end(), "show mainform");
    EXPECT_LT(first, picture) << "the window paints first";
    // Coming back from another window does not show it again.
    app.desktop.onModal("aboutform", [](Form& f) { f.hide(); });
    m.about.click();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);

    TestApp off;
    off.startIn();
    EXPECT_EQ(off.desktop.count("show mainform"), 0);
}

TEST(StartupTest, ClosingSavesTheFolderFirstThenAsks) {
    TestApp app;
    app.drives.makeFolders("c:\\dove");
    MainWindow& m = app.startIn();
    m.dir.setPath("c:\\dove");
    app.desktop.answer(mb::IdNo);
    m.userClose();
    EXPECT_EQ(app.desktop.count("box Sicuro di voler uscire"), 1);
    EXPECT_TRUE(m.loaded());
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\dove");

    app.desktop.answer(mb::IdYes);
    EXPECT_THROW(m.esci.click(), ProgramEnded);
    EXPECT_TRUE(app.desktop.ended);
}

TEST(StartupTest, EndRequestedBySystemSavesTheFolderAndEndsWithoutAsking) {
    TestApp app;
    app.drives.makeFolders("c:\\dove");
    MainWindow& m = app.startIn();
    m.dir.setPath("c:\\dove");
    EXPECT_THROW(m.lifecycle.endRequested(), ProgramEnded);
    EXPECT_TRUE(app.desktop.boxes.empty());
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\dove");
}

} // namespace
} // namespace brenvik
