#include "split/SplitTestSupport.h"
#include "support/Recorders.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using splittest::filesIn;
using splittest::joinParts;
using splittest::setSizeKb;
using splittest::Split;

const char* const LargerThanFile = "Il file da creare è più grande grande del file d'origine";
const char* const ZeroSize = "Grandezza dei file da creare = 0!";

// The status line and the progress display as they are assigned: "infolabel <text>",
// "barra <width>", "bianco <figure>".
struct DisplayLog {
    explicit DisplayLog(MainWindow& m)
        : status(m.infolabel, Property::Caption, log, [&m] { return "infolabel " + m.infolabel.caption(); }),
          bar(m.barra, Property::Geometry, log, [&m] { return "barra " + std::to_string(m.barra.width()); }),
          figure(m.bianco, Property::Caption, log, [&m] { return "bianco " + m.bianco.caption(); }) {}
    std::vector<std::string> log;
    ControlRecorder status, bar, figure;
};

TEST(SplitCommandTest, PartsOfTheChosenSizeReplaceWhatIsThereAndTheScriptComesWithThem) {
    struct Case {
        std::string name;
        size_t size;
        int64_t kb;
        int parts;
    };
    for (const Case& c :
         {Case{"film.avi", 10000, 4, 3}, Case{"x.bin", 8192, 8, 1}, Case{"mille.bin", 1000 * 1024, 1, 1000}}) {
        Split s(c.name, patternBytes(c.size), c.kb);
        // A longer part of an earlier set is cut to the new length.
        s.app.drives.makeFolders(s.dest());
        s.app.drives.write(s.part(c.parts - 1), patternBytes(50000, 9));
        DisplayLog display(s.m());
        s.run();
        MainWindow& m = s.m();
        const auto partSize = static_cast<size_t>(c.kb * 1024);
        ASSERT_EQ(m.numparti, c.parts) << c.name;
        const std::string count = std::to_string(c.parts);
        ASSERT_EQ(m.infolabel.caption(), " " + count + "/ " + count + " files creati con  SUCCESSO") << c.name;
        EXPECT_EQ(m.resto, static_cast<int64_t>(c.size % partSize)) << c.name;
        std::vector<std::string> files{"Assembla[" + c.name + "].bat"};
        std::vector<std::string> creating;
        for (int i = 0; i < c.parts; ++i) {
            const std::string ext = std::to_string(1000 + i).substr(1);
            files.push_back(c.name + "." + ext);
            creating.push_back("infolabel Creando " + c.name + "." + ext + "   # " + std::to_string(i + 1) + " of  " +
                               count);
            EXPECT_EQ(s.app.drives.read(s.part(i)), s.source.substr(static_cast<size_t>(i) * partSize, partSize))
                << c.name << " part " << i;
        }
        EXPECT_EQ(filesIn(s.app.drives, s.dest()), files) << c.name;
        std::vector<std::string> shown;
        std::copy_if(display.log.begin(), display.log.end(), std::back_inserter(shown),
                     [](const std::string& e) { return e.rfind("infolabel Creando ", 0) == 0; });
        EXPECT_EQ(shown, creating) << c.name << ": the counts keep their space at every width";
        EXPECT_EQ(m.barra.width(), 3980);
        EXPECT_EQ(m.bianco.caption(), "100");
        EXPECT_EQ(m.grandezza, c.kb * 1024) << "the part size is not changed by the split";
        EXPECT_TRUE(s.app.desktop.boxes.empty());
        EXPECT_TRUE(s.app.launcher.started.empty()) << "cartsplit absent: no file manager";
    }
}

TEST(SplitCommandTest, RefusalsWriteNothingAndOpenNothing) {
    struct Case {
        const char* label;
        size_t size;
        int64_t kb;
        std::function<void(MainWindow&)> tweak;
        std::string status;
        bool folderMade; // the destination folder is made before the checks of the size
    };
    const auto none = [](MainWindow&) {};
    const Case cases[] = {
        {"an empty file", 0, 1, none, LargerThanFile, true},
        {"a file smaller than a part", 100, 1, none, LargerThanFile, true},
        {"a part size of 0", 5000, 0, none, ZeroSize, false},
        // The byte count is tested as well as the box: here they disagree.
        {"a byte count of 0", 5000, 1, [](MainWindow& m) { m.grandezza = 0; }, ZeroSize, true},
        {"no file selected", 5000, 1, [](MainWindow& m) { m.filesel = ""; }, "Nessun File selezionato!", true},
        {"1001 parts", 1000 * 1024 + 1, 1, none,
         "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!", true},
    };
    for (const Case& c : cases) {
        Split s("file.bin", patternBytes(c.size), c.kb);
        s.app.store("opzioni", "cartsplit", "1");
        c.tweak(s.m());
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), c.status) << c.label;
        EXPECT_EQ(s.m().barra.width(), 0) << c.label;
        EXPECT_EQ(s.m().bianco.caption(), "0") << c.label;
        if (c.folderMade) {
            EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty()) << c.label;
        } else {
            EXPECT_FALSE(s.app.drives.exists("c:\\myfiles")) << c.label << ": the destination is not touched";
        }
        EXPECT_TRUE(s.app.desktop.boxes.empty()) << c.label;
        EXPECT_TRUE(s.app.launcher.started.empty()) << c.label;
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
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, "d:\\parti\\[film.avi]\\film.avi.", 3), s.source);
}

TEST(SplitCommandTest, StatusAndProgressFollowEveryStageInOrder) {
    Split s("film.avi", patternBytes(10000), 4);
    s.run();
    DisplayLog display(s.m());
    const int yieldsBefore = s.app.desktop.count("yield");
    s.run();
    EXPECT_EQ(display.log, (std::vector<std::string>{
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
    EXPECT_EQ(s.app.desktop.count("yield"), yieldsBefore) << "the split takes no input";
}

TEST(SplitCommandTest, FileManagerOpensWhenThePreferenceIsOnReadAfresh) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.store("opzioni", "cartsplit", "1");
    s.run();
    EXPECT_EQ(s.app.launcher.started, std::vector<std::string>{"explorer.exe c:\\myfiles\\[film.avi]\\"});
    s.app.store("opzioni", "cartsplit", "0");
    s.run();
    EXPECT_EQ(s.app.launcher.started.size(), 1u);
}

TEST(SplitCommandTest, SourceIsMeasuredAgainAtTheSplit) {
    Split s("log.txt", patternBytes(10000), 4);
    std::string grown = patternBytes(12000);
    s.app.drives.write("c:\\src\\log.txt", grown);
    s.run();
    EXPECT_EQ(s.m().numparti, 3);
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
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Impossibile trovare il file");
    EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());

    s.app.drives.write("c:\\src\\film.avi", s.source);
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
}

} // namespace
} // namespace brenvik
