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
    EXPECT_EQ(m.infolabel.caption(), "Brenvik caricato!");
    EXPECT_EQ(m.grandezza, 512000);
    EXPECT_FALSE(m.split.enabled());
    EXPECT_FALSE(m.Frame3.enabled());
    EXPECT_FALSE(m.file1.visible());
    EXPECT_EQ(m.focused(), &m.Command1);
    EXPECT_TRUE(m.optionsfrm.loaded() && m.nomefile.loaded()) << "the dialogs load hidden with the main window";
    EXPECT_FALSE(m.optionsfrm.visible());
}

TEST(StartupTest, FirstRunCheckFollowsTheLeadingNumberOfTheMarker) {
    for (const char* marker : {"<none>", "0", "x", "2"}) {
        TestApp app;
        if (std::string(marker) != "<none>")
            app.store("Primoavvio", "eseguito", marker);
        app.store("opzioni", "about", "0");
        bool firstRun = std::string(marker) != "2";
        if (firstRun) {
            // The preparation window closes by itself; the wizard is closed from its frame.
            app.desktop.onModal("wizard", [](Form& f) { f.userClose(); });
        }
        app.start();
        EXPECT_EQ(app.desktop.count("show install"), firstRun ? 1 : 0) << marker;
        EXPECT_EQ(app.desktop.count("show wizard"), firstRun ? 1 : 0) << marker;
        EXPECT_EQ(app.desktop.pendingModals(), 0u) << marker;
    }
}

TEST(StartupTest, MissingStoredFolderFallsBackSilently) {
    TestApp app;
    app.presetReturningUser();
    app.store("path", "initialdir", "c:\\cancellata");
    app.drives.makeFolders("c:\\windows\\desktop");
    MainWindow& m = app.start();
    EXPECT_EQ(m.dir.path(), "c:\\windows\\desktop");
    EXPECT_EQ(m.pathbar.text(), "c:\\windows\\desktop");
    EXPECT_EQ(m.infolabel.caption(), "Brenvik caricato!");
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\cancellata") << "the stored folder is not changed";
    EXPECT_TRUE(app.desktop.boxes.empty());

    TestApp bare;
    bare.presetReturningUser();
    bare.store("path", "initialdir", "c:\\cancellata");
    MainWindow& b = bare.start();
    EXPECT_EQ(b.dir.path(), "c:\\") << "without the fallback folder the root of c: is shown";
    EXPECT_EQ(b.infolabel.caption(), "Brenvik caricato!");
}

TEST(StartupTest, StartupPictureShowsOnceAtTheFirstActivationUnlessTurnedOff) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1");
    MainWindow& m = app.start();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    EXPECT_EQ(app.desktop.count("pause 3000"), 1);
    EXPECT_EQ(app.desktop.beeps, 1);
    auto first = std::find(app.desktop.log.begin(), app.desktop.log.end(), "pause 100");
    auto picture = std::find(app.desktop.log.begin(), app.desktop.log.end(), "show mainform");
    EXPECT_LT(first, picture) << "the window paints first";
    EXPECT_TRUE(m.MostraAbout);
    // Coming back from another window only moves the focus.
    app.desktop.onModal("aboutform", [](Form& f) { f.hide(); });
    m.split.setFocus();
    m.about.click();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    EXPECT_EQ(m.focused(), &m.Command1);

    TestApp off;
    off.startIn();
    EXPECT_EQ(off.desktop.count("show mainform"), 0);
    EXPECT_EQ(off.desktop.beeps, 0);
}

TEST(StartupTest, ClosingSavesTheFolderFirstThenAsks) {
    TestApp app;
    app.drives.makeFolders("c:\\dove");
    MainWindow& m = app.startIn();
    m.dir.setPath("c:\\dove");
    app.desktop.answer(mb::IdNo);
    m.userClose();
    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.desktop.boxes[0].text, "Sicuro di voler uscire");
    EXPECT_EQ(app.desktop.boxes[0].flags, mb::YesNo | mb::Question);
    EXPECT_EQ(app.desktop.boxes[0].title, "Brenvik");
    EXPECT_TRUE(m.loaded());
    EXPECT_FALSE(app.desktop.ended);
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
    EXPECT_TRUE(app.desktop.ended);
    EXPECT_TRUE(app.desktop.boxes.empty());
    EXPECT_EQ(app.setting("path", "initialdir"), "c:\\dove");
}

} // namespace
} // namespace brenvik
