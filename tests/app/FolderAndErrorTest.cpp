#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "platform/RuntimeError.h"
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

// The table's texts and buttons stand in the code as they stand on screen; what is tested is how
// the button pressed becomes the handler's next step.
TEST(ErrorTableTest, TheButtonPressedDecidesRetryContinueOrGiveUp) {
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
    const size_t shown = app.desktop.boxes.size();
    EXPECT_EQ(ErroreDaNumero(app.platform, err::TypeMismatch), errore::Unlisted);
    EXPECT_EQ(app.desktop.boxes.size(), shown) << "an unlisted number shows nothing";
}

} // namespace
} // namespace brenvik
