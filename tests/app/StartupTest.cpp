#include "support/TestApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace brenvik {
namespace {

TEST(StartupTest, TheStoredFolderOrItsSilentFallbackRunsTheBrowsersHandlersEvenWhereTheListsAlreadyStand) {
    // The lists start on c:\ by design; a folder elsewhere changes them, c:\ itself does not. A
    // stored folder that is gone gives way to the fallback, without it to the user's own desktop
    // folder, and without that to the root of c:.
    struct Case {
        std::string stored, made, shown;
        std::optional<std::string> desktop = std::nullopt;
    };
    for (const Case& c : {Case{"c:\\dati", "c:\\dati", "c:\\dati"}, Case{"c:\\", "c:\\", "c:\\"},
                          Case{"c:\\cancellata", "c:\\windows\\desktop", "c:\\windows\\desktop", "c:\\Scrivania"},
                          Case{"c:\\cancellata", "c:\\Scrivania", "c:\\Scrivania", "c:\\Scrivania"},
                          Case{"c:\\cancellata", "c:\\", "c:\\"}}) {
        TestApp app;
        app.files.desktop = c.desktop;
        app.presetReturningUser();
        app.store("path", "initialdir", c.stored);
        app.drives.makeFolders(c.made);
        app.drives.write(c.shown + (c.shown == "c:\\" ? "" : "\\") + "p.000", "a");
        MainWindow& m = app.start();
        for (const std::string& path : {m.dir.path(), m.list.path(), m.File2.path(), m.pathbar.text(), m.dir.toolTip()})
            EXPECT_EQ(path, c.shown) << c.stored;
        EXPECT_EQ(m.list.toolTip(), "") << c.shown << ": the file list's folder change ran";
        EXPECT_EQ(m.File2.selCount(), 1) << c.shown << ": the search ran";
        EXPECT_EQ(m.nomebase, "p") << c.shown;
        EXPECT_EQ(m.infolabel.caption(), "Brenvik caricato!");
        EXPECT_EQ(m.grandezza, 512000);
        EXPECT_FALSE(m.split.enabled());
        EXPECT_TRUE(m.optionsfrm().loaded() && !m.optionsfrm().visible() && m.nomefile().loaded())
            << "the dialogs load hidden with the main window";
        EXPECT_EQ(app.setting("path", "initialdir"), c.stored) << "the stored folder is not changed";
    }
}

TEST(StartupTest, StartupPictureShowsOnceAtTheFirstActivationUnlessTurnedOff) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1");
    MainWindow& m = app.start();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    EXPECT_EQ(app.desktop.count("beep"), 1);
    const auto& log = app.desktop.log;
    EXPECT_LT(std::find(log.begin(), log.end(), "pause 100"), std::find(log.begin(), log.end(), "show mainform"))
        << "the window paints first";
    // Coming back from another window does not show it again.
    app.desktop.onModal("aboutform", [](Form& f) { f.hide(); });
    m.about.click();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    TestApp off;
    off.startIn();
    EXPECT_EQ(off.desktop.count("show mainform"), 0);
}

TEST(StartupTest, ClosingSavesTheFolderFirstThenAsksUnlessTheSystemEndsIt) {
    for (bool bySystem : {false, true}) {
        TestApp app;
        app.drives.makeFolders("c:\\dove");
        MainWindow& m = app.startIn();
        m.dir.setPath("c:\\dove");
        if (bySystem) {
            // No one is there to answer: a box would fail the test.
            EXPECT_THROW(m.lifecycle().endRequested(), ProgramEnded);
        } else {
            app.desktop.answer(mb::IdNo);
            m.userClose();
            EXPECT_EQ(app.desktop.count("box Sicuro di voler uscire"), 1);
            EXPECT_TRUE(m.loaded());
            app.desktop.answer(mb::IdYes);
            EXPECT_THROW(m.esci.click(), ProgramEnded);
        }
        EXPECT_EQ(app.setting("path", "initialdir"), "c:\\dove");
    }
}

} // namespace
} // namespace brenvik
