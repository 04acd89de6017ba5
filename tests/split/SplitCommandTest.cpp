#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::Split;

TEST(SplitCommandTest, PartsOfTheChosenSizeReplaceWhatIsThereAndTheScriptComesWithThem) {
    // A thousand parts is the most the three digits of the names allow.
    for (int parts : {3, 1000}) {
        Split s("film.avi", patternBytes(parts == 3 ? 10000 : 1000 * 1024), parts == 3 ? 4 : 1);
        // A longer part of an earlier set is cut to the new length.
        s.app.drives.makeFolders(s.dest());
        s.app.drives.write(s.part(parts - 1), patternBytes(50000, 9));
        s.run();
        const std::string count = std::to_string(parts);
        ASSERT_EQ(s.m().infolabel.caption(), " " + count + "/ " + count + " files creati con  SUCCESSO") << parts;
        const auto size = static_cast<size_t>(s.m().grandezza);
        std::vector<std::string> files{"Assembla[film.avi].bat"};
        for (int i = 0; i < parts; ++i) {
            files.push_back("film.avi." + std::to_string(1000 + i).substr(1));
            EXPECT_EQ(s.app.drives.read(s.part(i)), s.source.substr(static_cast<size_t>(i) * size, size)) << i;
        }
        EXPECT_EQ(s.app.drives.fs().files(s.dest()), files);
        EXPECT_TRUE(s.app.launcher.opened.empty()) << "cartsplit absent: no file manager";
    }
}

TEST(SplitCommandTest, RefusalsWriteNothingAndOpenNothing) {
    struct Case {
        size_t size;
        int64_t kb;
        std::string status;
    };
    for (const Case& c : {Case{100, 1, "Il file da creare è più grande grande del file d'origine"},
                          Case{5000, 0, "Grandezza dei file da creare = 0!"},
                          Case{1000 * 1024 + 1, 1,
                               "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!"}}) {
        Split s("file.bin", patternBytes(c.size), c.kb);
        s.app.store("opzioni", "cartsplit", "1");
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), c.status) << c.size;
        EXPECT_TRUE(!s.app.drives.exists(s.dest()) || s.app.drives.fs().files(s.dest()).empty()) << c.size;
        EXPECT_TRUE(s.app.launcher.opened.empty()) << c.size;
    }
}

TEST(SplitCommandTest,
     DestinationIsReachedWhateverItsSpellingTheFileManagerOpensThereAndTheSourceIsMeasuredAtTheSplit) {
    // Stored empty, as the destination dialog then shows it: beside the source, no folder made,
    // and an earlier set there goes with its 000.
    Split s("film.avi", patternBytes(10000), 4);
    s.app.store("opzioni", "cartsplit", "1");
    s.app.store("Destinazione", "dir", "");
    clickFile(s.m(), "film.avi");
    std::string shown = "<not shown>";
    s.app.desktop.onModal("optionsfrm", [&shown](Form& f) {
        auto& dialog = static_cast<DestinationDialog&>(f);
        shown = dialog.outputdir.text();
        dialog.annulla.userClick();
    });
    s.m().options.userClick();
    EXPECT_EQ(shown, "");
    for (const char* earlier : {"000", "001", "002", "003"})
        s.app.drives.write("c:\\src\\film.avi." + std::string(earlier), "serie precedente");
    s.run();
    EXPECT_FALSE(s.app.drives.exists("c:\\myfiles"));
    EXPECT_FALSE(s.app.drives.exists("c:\\src\\film.avi.003"));
    EXPECT_EQ(joinParts(s.app.drives, "c:\\src\\film.avi.", 3), s.source);
    EXPECT_TRUE(s.app.drives.exists("c:\\src\\Assembla[film.avi].bat"));
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
    EXPECT_EQ(s.app.launcher.opened, std::vector<std::string>{"c:\\src\\"});

    // With a final separator, read afresh; the source, grown since its click, measured again.
    s.app.store("Destinazione", "dir", "d:\\parti\\");
    clickFile(s.m(), "film.avi");
    const std::string grown = patternBytes(12000, 2);
    s.app.drives.write("c:\\src\\film.avi", grown);
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, "d:\\parti\\[film.avi]\\film.avi.", 3), grown);
}

// A destination that cannot be made is reported for what stops it, by the split and by the join:
// here a file stands where a folder of the path must be.
TEST(SplitCommandTest, ADestinationThatCannotBeMadeIsReportedForWhatStopsIt) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.write("c:\\occupato", "un file");
    s.app.store("Destinazione", "dir", "c:\\occupato\\parti");
    clickFile(s.m(), "film.avi");
    s.app.desktop.answer(mb::IdOK);
    s.run();
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Errore di accesso...") << "not \"Percorso inesistente...\"";
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + describeError(err::PathFileAccess));

    s.m().dir.setPath("c:\\src");
    enterJoinMode(s.app.desktop, s.m(), 0);
    s.m().File2.userClickItem(0);
    answerName(s.app.desktop);
    s.app.desktop.answer(mb::IdOK);
    s.m().uniscifile.userClick();
    EXPECT_EQ(s.app.desktop.boxes.back().text, "Errore numero 75:" + describeError(err::PathFileAccess));
}

// On a slow disk the flush at the end takes long: the last part's line is on the screen before
// it begins, and the window keeps painting while it runs.
TEST(SplitCommandTest, TheLastPartsLineShowsBeforeTheFlushAndTheWindowPaintsThroughIt) {
    Split s("film.avi", patternBytes(10 * 4096), 4);
    std::vector<std::string> shown; // the status line at every paint, and every flush of a part
    s.app.desktop.onPaint = [&] { shown.push_back(s.m().infolabel.caption()); };
    s.app.files.beforeSync = [&shown](const std::string& path) {
        if (path.back() == '\\')
            return;
        shown.push_back("flush");
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    };
    s.run();
    const auto first = std::find(shown.begin(), shown.end(), "flush");
    ASSERT_NE(first, shown.begin());
    EXPECT_EQ(*(first - 1), "Creando film.avi.009   # 10 of  10");
    const auto last = std::find(shown.rbegin(), shown.rend(), "flush").base();
    EXPECT_GE(std::count_if(first, last, [](const std::string& entry) { return entry != "flush"; }), 3)
        << "paints while the parts are flushed";
}

} // namespace
} // namespace brenvik
