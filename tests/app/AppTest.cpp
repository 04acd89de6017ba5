// The program's own rules: the start-up and the end, the settings as read, the runtime errors'
// table and the creation of a destination's folder levels.
#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "app/Waits.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace brenvik {
namespace {

TEST(AppTest, TheStoredFolderOrItsSilentFallbackRunsTheBrowsersHandlersEvenWhereTheListsAlreadyStand) {
    // The lists start on c:\ by design; a folder elsewhere changes them, c:\ itself does not. A
    // stored folder that is gone gives way to the fallback, without it to the user's own desktop
    // folder, and without that to the root of c:.
    struct Case {
        std::string stored, shown;
        std::optional<std::string> desktop = std::nullopt;
    };
    for (const Case& c : {Case{"c:\\dati", "c:\\dati"}, Case{"c:\\", "c:\\"},
                          Case{"c:\\cancellata", "c:\\windows\\desktop", "c:\\Scrivania"},
                          Case{"c:\\cancellata", "c:\\Scrivania", "c:\\Scrivania"}, Case{"c:\\cancellata", "c:\\"}}) {
        TestApp app;
        app.files.desktop = c.desktop;
        app.presetReturningUser();
        app.store("path", "initialdir", c.stored);
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

TEST(AppTest, StartupPictureShowsOnceAtTheFirstActivationUnlessTurnedOff) {
    TestApp app;
    app.store("Primoavvio", "eseguito", "1");
    MainWindow& m = app.start();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    EXPECT_EQ(app.desktop.count("beep"), 1);
    EXPECT_LT(std::ranges::find(app.desktop.log, "pause 100"), std::ranges::find(app.desktop.log, "show mainform"))
        << "the window paints first";
    // Coming back from another window does not show it again.
    app.desktop.onModal("aboutform", [](Form& f) { f.hide(); });
    m.about.click();
    EXPECT_EQ(app.desktop.count("show mainform"), 1);
    TestApp off;
    off.startIn();
    EXPECT_EQ(off.desktop.count("show mainform"), 0);
}

TEST(AppTest, ClosingSavesTheFolderFirstThenAsksUnlessTheSystemEndsIt) {
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

TEST(AppTest, EverySettingKeyEditedByHandToSomethingUnusableReadsAsItsDefault) {
    const std::string huge = "99999999999999999999";
    for (const std::string& bad : {std::string(), std::string("abc"), huge, std::string("1e400"),
                                   std::string("c:\\non\\esiste"), std::string("\\senza\\unita"), std::string("  ")}) {
        MemorySettingsStore store;
        Settings s(store);
        for (Settings::Key k : {Settings::Eseguito, Settings::InitialDir, Settings::Destinazione, Settings::CartSplit,
                                Settings::CartUnisci, Settings::About})
            s.save(k, bad);
        const bool number = bad == huge || bad == "1e400";
        EXPECT_EQ(s.firstRun(), !number) << bad << ": only a leading number other than 0 marks the first run done";
        EXPECT_EQ(s.initialDir(), bad) << "the start-up falls back from a folder it cannot show";
        // The empty destination is a choice: the parts beside their source.
        EXPECT_EQ(s.destination(), bad.empty() || bad.rfind("c:", 0) == 0 ? bad : "c:\\myfiles") << bad;
        EXPECT_EQ(s.openAfterSplit(), bad == huge) << bad << ": a number past the largest one counts as none";
        EXPECT_TRUE(s.openAfterJoin()) << bad;
        EXPECT_TRUE(s.showStartupPicture()) << bad;
        EXPECT_EQ(s.checkState(Settings::CartSplit, 0), 0) << bad;
        EXPECT_EQ(s.checkState(Settings::About, 1), 1) << bad;
    }
    // Usable values are read as numbers, and reading writes nothing.
    MemorySettingsStore store;
    Settings s(store);
    EXPECT_EQ(s.initialDir(), "c:\\windows\\desktop");
    EXPECT_EQ(store.saves(), 0);
    s.save(Settings::Eseguito, "2abc");
    s.save(Settings::CartSplit, "-3");
    s.save(Settings::About, "0");
    EXPECT_FALSE(s.firstRun());
    EXPECT_TRUE(s.openAfterSplit()) << "a number is true when not 0";
    EXPECT_FALSE(s.showStartupPicture());
}

// The table's texts and buttons stand in the code as they stand on screen; what is tested is how
// the button pressed becomes the handler's next step.
TEST(AppTest, TheErrorTablesButtonPressedDecidesRetryContinueOrGiveUp) {
    TestApp app;
    struct Row {
        int number, answer, result;
    };
    for (const Row& r :
         {Row{err::InputPastEnd, mb::IdAbort, errore::Irreversible},
          Row{err::DeviceUnavailable, mb::IdRetry, errore::Retry}, Row{err::DiskNotReady, mb::IdOK, errore::Retry},
          Row{err::LoadFailed, mb::IdIgnore, errore::Continue}}) {
        app.desktop.answer(r.answer);
        EXPECT_EQ(ErroreDaNumero(app.platform, r.number), r.result) << r.number;
        EXPECT_EQ(app.desktop.boxes.back().title, "Errore");
    }
    // An unlisted number shows nothing: with no answer left, a box would fail the test.
    EXPECT_EQ(ErroreDaNumero(app.platform, err::TypeMismatch), errore::Unlisted);
}

TEST(AppTest, FareCartelleCreatesEveryMissingLevelSkipsWhatItCannotAndEndsTheTextInABackslash) {
    struct Case {
        std::string dir, after;
        const char* folder; // made by the walk
    };
    TestDrives d;
    d.makeFolders("c:\\esiste");
    d.write("c:\\blocco", "a file where a folder should go");
    for (const Case& c : {Case{"c:\\esiste\\[film.avi]\\", "c:\\esiste\\[film.avi]\\", "c:\\esiste\\[film.avi]"},
                          Case{"d:\\a\\b\\c", "d:\\a\\b\\c\\", "d:\\a\\b\\c"}, Case{"c:", "c:\\", nullptr},
                          Case{"c:\\blocco\\sotto", "c:\\blocco\\sotto\\", nullptr},
                          Case{"q:\\x\\y", "q:\\x\\y\\", nullptr}, Case{"", "\\", nullptr}}) {
        std::string dir = c.dir;
        EXPECT_NO_THROW(FareCartelle(d.fs(), dir)) << c.dir;
        EXPECT_EQ(dir, c.after);
        EXPECT_TRUE(!c.folder || d.isFolder(c.folder)) << c.dir;
    }
    EXPECT_EQ(d.read("c:\\blocco"), "a file where a folder should go");
    EXPECT_EQ(d.fs().folders("c:\\"), std::vector<std::string>{"esiste"}) << "nothing else was made";
}

// A wait for another Brenvik says so once, hears a request to stop at every turn, and gives up
// after its bound with 55.
TEST(AppTest, AWaitForAnotherBrenvikSaysSoOnceAndGivesUpAfterItsBound) {
    std::vector<std::string> said;
    int checks = 0;
    FolderWait wait([&said](const std::string& text) { said.push_back(text); }, [&checks] { ++checks; },
                    std::chrono::milliseconds(100));
    const auto start = std::chrono::steady_clock::now();
    int number = 0;
    while (number == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        number = failureOf([&wait] { wait(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(number, err::FileAlreadyOpen);
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_EQ(said, std::vector<std::string>{FolderWait::Waiting});
    EXPECT_GT(checks, 2);
}

} // namespace
} // namespace brenvik
