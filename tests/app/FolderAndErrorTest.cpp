#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(FareCartelleTest, CreatesEveryMissingLevelAndEndsTheTextInABackslash) {
    TestDrives d;
    std::string dir = "c:\\myfiles";
    FareCartelle(d.fs(), dir);
    EXPECT_EQ(dir, "c:\\myfiles\\");
    EXPECT_TRUE(d.isFolder("c:\\myfiles"));

    dir = "c:\\myfiles\\[film.avi]\\";
    FareCartelle(d.fs(), dir);
    EXPECT_EQ(dir, "c:\\myfiles\\[film.avi]\\") << "an existing upper level is passed over";
    EXPECT_TRUE(d.isFolder("c:\\myfiles\\[film.avi]"));

    dir = "d:\\a\\b\\c";
    FareCartelle(d.fs(), dir);
    EXPECT_TRUE(d.isFolder("d:\\a\\b\\c"));
}

TEST(FareCartelleTest, BareDrivesCreateNothingAndBlockedLevelsAreSkippedSilently) {
    TestDrives d;
    for (std::string dir : {"c:", "c:\\"}) {
        FareCartelle(d.fs(), dir);
        EXPECT_EQ(dir, "c:\\");
    }
    EXPECT_TRUE(d.fs().folders("c:\\").empty());

    d.write("c:\\blocco", "a file where a folder should go");
    std::string dir = "c:\\blocco\\sotto";
    EXPECT_NO_THROW(FareCartelle(d.fs(), dir));
    EXPECT_EQ(dir, "c:\\blocco\\sotto\\");
    EXPECT_EQ(d.read("c:\\blocco"), "a file where a folder should go");

    std::string nowhere = "q:\\x\\y";
    EXPECT_NO_THROW(FareCartelle(d.fs(), nowhere)) << "an unknown drive is passed over too";
    std::string empty;
    FareCartelle(d.fs(), empty);
    EXPECT_EQ(empty, "\\");
}

struct ErrorTableTest : ::testing::Test {
    TestApp app;
    ScriptedDesktop& desktop = app.desktop;
    Platform& platform = app.platform;
};

TEST_F(ErrorTableTest, MessagesButtonsAndAnswers) {
    struct Row {
        int number;
        const char* text;
        int flags;
        int answer;
        int result;
    };
    const Row rows[] = {
        {52, "File non valido!", 49, mb::IdCancel, errore::Continue},
        {55, "File già aperto!", 48, mb::IdOK, errore::Retry},
        {57, "Errore nella periferica!", 16, mb::IdOK, errore::Retry},
        {62, "Errore di Input!", 50, mb::IdAbort, errore::Irreversible},
        {68, "Periferica non pronta!", 21, mb::IdRetry, errore::Retry},
        {70, "Accesso negato!", 53, mb::IdCancel, errore::Continue},
        {71, "Unità non pronta!", 49, mb::IdOK, errore::Retry},
        {76, "Percorso inesistente...", 49, mb::IdCancel, errore::Continue},
        {31037, "Errore caricando il file...", 50, mb::IdIgnore, errore::Continue},
    };
    for (const Row& r : rows) {
        desktop.answer(r.answer);
        EXPECT_EQ(ErroreDaNumero(platform, r.number), r.result) << r.number;
        ASSERT_FALSE(desktop.boxes.empty());
        EXPECT_EQ(desktop.boxes.back().text, r.text);
        EXPECT_EQ(desktop.boxes.back().flags, r.flags) << r.number;
        EXPECT_EQ(desktop.boxes.back().title, "Errore");
    }
    size_t shown = desktop.boxes.size();
    EXPECT_EQ(ErroreDaNumero(platform, 13), errore::Unlisted);
    EXPECT_EQ(desktop.boxes.size(), shown) << "an unlisted number shows nothing";
}

} // namespace
} // namespace brenvik
