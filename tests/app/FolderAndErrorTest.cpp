#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(FareCartelleTest, CreatesEveryMissingLevelSkipsWhatItCannotAndEndsTheTextInABackslash) {
    struct Case {
        std::string dir;
        std::string after;
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

TEST(ErrorTableTest, MessagesButtonsAndAnswers) {
    TestApp app;
    ScriptedDesktop& desktop = app.desktop;
    struct Row {
        int number;
        const char* text;
        int flags;
        int answer;
        int result;
    };
    const Row rows[] = {
        {62, "Errore di Input!", 50, mb::IdAbort, errore::Irreversible},
        {68, "Periferica non pronta!", 21, mb::IdRetry, errore::Retry},
        {71, "Unità non pronta!", 49, mb::IdOK, errore::Retry},
        {31037, "Errore caricando il file...", 50, mb::IdIgnore, errore::Continue},
    };
    for (const Row& r : rows) {
        desktop.answer(r.answer);
        EXPECT_EQ(ErroreDaNumero(app.platform, r.number), r.result) << r.number;
        EXPECT_EQ(desktop.boxes.back().text, r.text);
        EXPECT_EQ(desktop.boxes.back().flags, r.flags) << r.number;
        EXPECT_EQ(desktop.boxes.back().title, "Errore");
    }
    size_t shown = desktop.boxes.size();
    EXPECT_EQ(ErroreDaNumero(app.platform, 13), errore::Unlisted);
    EXPECT_EQ(desktop.boxes.size(), shown) << "an unlisted number shows nothing";
}

} // namespace
} // namespace brenvik
