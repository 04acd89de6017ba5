#include "support/TestApp.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(SelectedFileTest, DescriptionTakesBytesKbOrKbAndMb) {
    struct Case {
        int64_t size;
        const char* caption;
    };
    for (const Case& c :
         {Case{0, "NOME FILE: f.bin   Dimensione: 0 byte;"}, Case{1023, "NOME FILE: f.bin   Dimensione: 1023 byte;"},
          Case{1024, "NOME FILE: f.bin   Dimensione: 1 KB;"}, Case{1048575, "NOME FILE: f.bin   Dimensione: 1023 KB;"},
          Case{1048576, "NOME FILE: f.bin   Dimensione: 1024 KB (1 MB)"},
          Case{5000000, "NOME FILE: f.bin   Dimensione: 4882 KB (4 MB)"},
          Case{5LL << 30, "NOME FILE: f.bin   Dimensione: 5242880 KB (5120 MB)"}}) {
        TestApp app;
        makeSparseFile(app.drives, "c:\\f.bin", c.size);
        MainWindow& m = app.startIn();
        clickFile(m, "f.bin");
        EXPECT_EQ(m.infolabel.caption(), c.caption) << c.size;
        EXPECT_EQ(m.dimensione, c.size);
        EXPECT_EQ(m.dimkb, static_cast<double>(c.size / 1024));
    }
    EXPECT_EQ(SelectedFile::describe("x", -1), std::nullopt);
}

TEST(SelectedFileTest, ClickRecordsTheSourceAndPreparesTheSplit) {
    TestApp app;
    app.drives.makeFolders("c:\\dati");
    app.drives.write("c:\\dati\\film.avi", patternBytes(3000));
    MainWindow& m = app.startIn("c:\\dati");
    EXPECT_FALSE(m.split.enabled());
    clickFile(m, "film.avi");
    EXPECT_EQ(m.filesel, "film.avi");
    EXPECT_EQ(m.cartella, "c:\\dati\\");
    EXPECT_EQ(m.percorso, "c:\\dati\\film.avi");
    EXPECT_EQ(m.dimensione, 3000);
    EXPECT_EQ(m.optionsfrm.outputdir.text(), "c:\\myfiles\\[film.avi]");
    EXPECT_EQ(m.list.toolTip(), "File selezionato (film.avi)");
    EXPECT_EQ(m.pathbar.text(), "c:\\dati\\film.avi");
    EXPECT_TRUE(m.split.enabled());
    EXPECT_TRUE(m.Frame3.enabled());
    EXPECT_EQ(m.numfile.caption(), "0") << "3000 bytes are less than 500 KB";

    // The stored destination is taken as it is, a final separator included.
    app.store("Destinazione", "dir", "d:\\parti\\");
    clickFile(m, "film.avi");
    EXPECT_EQ(m.optionsfrm.outputdir.text(), "d:\\parti\\\\[film.avi]");

    // A drive root already ends in its separator.
    app.drives.write("c:\\a.txt", "abc");
    m.dir.setPath("c:\\");
    clickFile(m, "a.txt");
    EXPECT_EQ(m.cartella, "c:\\");
    EXPECT_EQ(m.percorso, "c:\\a.txt");
}

TEST(SelectedFileTest, JoinModeOnlyUpdatesTheDestination) {
    TestApp app;
    app.drives.write("c:\\a.txt", "abc");
    app.drives.write("c:\\b.txt", "abcdef");
    MainWindow& m = app.startIn();
    clickFile(m, "a.txt");
    m.split.setEnabled(false);
    m.Option2.setValue(true);
    int b = m.list.items()[0] == "b.txt" ? 0 : 1;
    m.list.setSelected(b, true);
    EXPECT_EQ(m.optionsfrm.outputdir.text(), "c:\\myfiles\\[b.txt]");
    EXPECT_EQ(m.filesel, "a.txt");
    EXPECT_EQ(m.dimensione, 3);
    EXPECT_FALSE(m.split.enabled());
    EXPECT_EQ(m.list.toolTip(), "File selezionato (a.txt)");
}

TEST(SelectedFileTest, VanishedFileIsRetriedOrSkippedAsTheUserAnswers) {
    TestApp app;
    app.drives.write("c:\\kept.bin", patternBytes(2048));
    app.drives.write("c:\\gone.bin", patternBytes(9000));
    MainWindow& m = app.startIn();
    clickFile(m, "kept.bin");
    ASSERT_EQ(m.dimensione, 2048);
    ASSERT_TRUE(std::filesystem::remove(app.drives.hostFile("c:\\gone.bin")));

    app.desktop.answer(mb::IdOK);     // retry: still missing
    app.desktop.answer(mb::IdCancel); // go on without the size
    clickFile(m, "gone.bin");
    ASSERT_EQ(app.desktop.boxes.size(), 2u);
    for (const auto& box : app.desktop.boxes) {
        EXPECT_EQ(box.text, "File non trovato!");
        EXPECT_EQ(box.flags, mb::OKCancel | mb::Exclamation);
        EXPECT_EQ(box.title, "Errore");
    }
    EXPECT_EQ(m.filesel, "gone.bin");
    EXPECT_EQ(m.dimensione, 2048) << "a skipped measurement keeps the previous size";
    EXPECT_EQ(m.infolabel.caption(), "NOME FILE: gone.bin   Dimensione: 2 KB;");
    EXPECT_EQ(m.pathbar.text(), "c:\\gone.bin");
    EXPECT_FALSE(app.desktop.ended);
}

} // namespace
} // namespace brenvik
