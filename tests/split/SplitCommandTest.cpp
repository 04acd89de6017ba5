#include "split/SplitTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using splittest::DisplayRecorder;
using splittest::filesIn;
using splittest::joinParts;
using splittest::setSizeKb;
using splittest::Split;

const char* const LargerThanFile = "Il file da creare è più grande grande del file d'origine";
const char* const ZeroSize = "Grandezza dei file da creare = 0!";
const char* const TooMany = "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!";

TEST(SplitCommandTest, TenThousandBytesAtFourKbGiveThreeParts) {
    Split s("film.avi", patternBytes(10000), 4);
    s.run();
    MainWindow& m = s.m();
    EXPECT_EQ(m.numparti, 3);
    EXPECT_EQ(m.resto, 1808);
    EXPECT_EQ(m.prefisso, "film.avi.");
    EXPECT_EQ(m.prefissodest, "c:\\myfiles\\[film.avi]\\film.avi.");
    EXPECT_EQ(s.app.drives.read(s.part(0)), s.source.substr(0, 4096));
    EXPECT_EQ(s.app.drives.read(s.part(1)), s.source.substr(4096, 4096));
    EXPECT_EQ(s.app.drives.read(s.part(2)), s.source.substr(8192));
    EXPECT_EQ(filesIn(s.app.drives, s.dest()),
              (std::vector<std::string>{"Assembla[film.avi].bat", "film.avi.000", "film.avi.001", "film.avi.002"}));
    EXPECT_EQ(m.infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    EXPECT_EQ(m.barra.width(), 3980);
    EXPECT_EQ(m.bianco.caption(), "100");
    EXPECT_EQ(m.grandezza, 4096) << "the part size is not changed by the split";
    EXPECT_TRUE(s.app.desktop.boxes.empty());
    EXPECT_TRUE(s.app.launcher.started.empty()) << "cartsplit absent: no file manager";
}

TEST(SplitCommandTest, SizeEqualToTheFileGivesOnePart) {
    Split s("x.bin", patternBytes(8192), 8);
    s.run();
    EXPECT_EQ(s.m().numparti, 1);
    EXPECT_EQ(s.m().resto, 0);
    EXPECT_EQ(s.app.drives.read(s.part(0)), s.source);
    EXPECT_EQ(s.m().infolabel.caption(), " 1/ 1 files creati con  SUCCESSO");
}

TEST(SplitCommandTest, ExactlyAThousandPartsAreAcceptedOneMoreIsRefused) {
    {
        Split s("mille.bin", patternBytes(1000 * 1024), 1);
        s.run();
        EXPECT_EQ(s.m().numparti, 1000);
        EXPECT_EQ(s.app.drives.read(s.part(999)), s.source.substr(999 * 1024));
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\mille.bin.", 1000), s.source);
        EXPECT_EQ(filesIn(s.app.drives, s.dest()).size(), 1001u);
        EXPECT_EQ(s.m().infolabel.caption(), " 1000/ 1000 files creati con  SUCCESSO");
    }
    {
        Split s("troppi.bin", patternBytes(1000 * 1024 + 1), 1);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), TooMany);
        EXPECT_EQ(s.m().numparti, 1001);
        EXPECT_TRUE(s.app.drives.isFolder(s.dest())) << "the folder is made before the checks";
        EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());
        EXPECT_EQ(s.m().barra.width(), 0);
        EXPECT_EQ(s.m().bianco.caption(), "0");
    }
}

TEST(SplitCommandTest, RefusalsWriteNothing) {
    {
        Split s("vuoto.bin", "", 1);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), LargerThanFile);
        EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());
    }
    {
        Split s("piccolo.txt", patternBytes(100), 1);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), LargerThanFile);
        EXPECT_TRUE(s.app.drives.isFolder(s.dest()));
        EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());
    }
    {
        Split s("zero.bin", patternBytes(5000), 0);
        ASSERT_EQ(s.m().Text.text(), "0");
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), ZeroSize);
        EXPECT_FALSE(s.app.drives.exists("c:\\myfiles")) << "refused before the destination is touched";
        EXPECT_EQ(s.m().barra.width(), 0);
        EXPECT_EQ(s.m().bianco.caption(), "0");
    }
    {
        // The byte count is tested as well as the box: here they disagree.
        Split s("byte.bin", patternBytes(5000), 1);
        s.m().grandezza = 0;
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), ZeroSize);
        EXPECT_TRUE(s.app.drives.isFolder(s.dest()));
    }
    {
        Split s("senza.bin", patternBytes(5000), 1);
        s.m().filesel = "";
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), "Nessun File selezionato!");
        EXPECT_EQ(s.m().bianco.caption(), "0");
    }
}

TEST(SplitCommandTest, EmptyDestinationPutsEverythingBesideTheSource) {
    Split s("film.avi", patternBytes(10000), 4);
    s.m().optionsfrm.outputdir.setText("");
    s.app.store("opzioni", "cartsplit", "1");
    s.run();
    EXPECT_FALSE(s.app.drives.exists("c:\\myfiles"));
    EXPECT_EQ(joinParts(s.app.drives, "c:\\src\\film.avi.", 3), s.source);
    EXPECT_TRUE(s.app.drives.exists("c:\\src\\Assembla[film.avi].bat"));
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
    // The file manager opens where the parts are.
    EXPECT_EQ(s.app.launcher.started, std::vector<std::string>{"explorer.exe c:\\src\\"});
    EXPECT_EQ(s.m().list.count(), 5) << "the list shows the new files";
}

TEST(SplitCommandTest, DestinationWithAFinalSeparatorIsStillReached) {
    Split s("film.avi", patternBytes(3000), 1);
    s.app.store("Destinazione", "dir", "d:\\parti\\");
    clickFile(s.m(), "film.avi");
    ASSERT_EQ(s.m().optionsfrm.outputdir.text(), "d:\\parti\\\\[film.avi]");
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, "d:\\parti\\[film.avi]\\film.avi.", 3), s.source);
}

TEST(SplitCommandTest, LongerExistingPartIsReplaced) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.makeFolders(s.dest());
    s.app.drives.write(s.part(2), patternBytes(50000, 9));
    s.run();
    EXPECT_EQ(s.app.drives.read(s.part(2)), s.source.substr(8192));
}

TEST(SplitCommandTest, StatusAndProgressFollowEveryStageInOrder) {
    Split s("film.avi", patternBytes(10000), 4);
    s.run();
    DisplayRecorder rec(s.m());
    const auto yieldsBefore = std::count(s.app.desktop.log.begin(), s.app.desktop.log.end(), "yield");
    s.run();
    EXPECT_EQ(rec.log, (std::vector<std::string>{
                           "barra 0",
                           "bianco 0",
                           "infolabel Genero estensioni progressive...",
                           "barra 800",
                           "bianco 20",
                           "infolabel Genero estensioni progressive... OK",
                           "barra 1600",
                           "bianco 40",
                           "barra 2400",
                           "bianco 60",
                           "infolabel Creando film.avi.000   # 1 of  3",
                           "infolabel Creando film.avi.001   # 2 of  3",
                           "infolabel Creando film.avi.002   # 3 of  3",
                           "infolabel  3/ 3 files creati con  SUCCESSO",
                           "barra 3980",
                           "bianco 100",
                       }));
    EXPECT_EQ(s.app.desktop.pendingAnswers(), 0u);
    EXPECT_EQ(std::count(s.app.desktop.log.begin(), s.app.desktop.log.end(), "yield"), yieldsBefore)
        << "the split takes no input";
}

TEST(SplitCommandTest, PartCountsOfTwoAndThreeDigitsKeepTheirSpace) {
    Split s("n.bin", patternBytes(120 * 1024), 1);
    DisplayRecorder rec(s.m());
    s.run();
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "infolabel Creando n.bin.009   # 10 of  120"), rec.log.end());
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "infolabel Creando n.bin.119   # 120 of  120"), rec.log.end());
}

TEST(SplitCommandTest, FileManagerOpensWhenThePreferenceIsOnReadAfresh) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.store("opzioni", "cartsplit", "1");
    s.run();
    EXPECT_EQ(s.app.launcher.started, std::vector<std::string>{"explorer.exe c:\\myfiles\\[film.avi]\\"});
    s.app.store("opzioni", "cartsplit", "0");
    s.run();
    EXPECT_EQ(s.app.launcher.started.size(), 1u);
    // A refused split opens nothing.
    s.app.store("opzioni", "cartsplit", "1");
    setSizeKb(s.m(), 20);
    s.run();
    EXPECT_EQ(s.app.launcher.started.size(), 1u);
}

TEST(SplitCommandTest, SourceIsMeasuredAgainAtTheSplit) {
    Split s("log.txt", patternBytes(10000), 4);
    std::string grown = patternBytes(12000);
    s.app.drives.write("c:\\src\\log.txt", grown);
    s.run();
    EXPECT_EQ(s.m().dimensione, 12000);
    EXPECT_EQ(s.m().numparti, 3);
    EXPECT_EQ(s.m().resto, 12000 - 8192);
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\log.txt.", 3), grown);
    EXPECT_EQ(s.m().numfile.caption(), "3");

    s.app.drives.write("c:\\src\\log.txt", patternBytes(100));
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), LargerThanFile) << "now smaller than a part";
    EXPECT_EQ(s.m().numfile.caption(), "0");
}

TEST(SplitCommandTest, VanishedSourceIsReportedAndTheProgramRunsOn) {
    Split s("film.avi", patternBytes(10000), 4);
    std::filesystem::remove(s.app.drives.host("c:\\src\\film.avi"));
    s.app.desktop.answer(mb::IdCancel);
    s.run();
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "File non trovato!");
    EXPECT_EQ(s.app.desktop.boxes[0].title, "Errore");
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Impossibile trovare il file");
    EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());
    EXPECT_FALSE(s.app.desktop.ended);

    s.app.drives.write("c:\\src\\film.avi", s.source);
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
}

} // namespace
} // namespace brenvik
