#include "support/TestApp.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

std::string pressedBy(const MainWindow& m, char letter) {
    const Control* target = m.accessKeyTarget(letter);
    return target ? target->name() : "<none>";
}

// The access keys the front ends without their own mnemonics follow: the letter marked in a
// caption, in either case, only on a button the user can reach in the window's present state.
TEST(SelectedFileTest, ClickDescribesTheFileRecordsTheSourceAndPreparesTheSplitAndItsAccessKey) {
    TestApp app;
    app.drives.makeFolders("c:\\dati");
    makeSparseFile(app.drives, "c:\\dati\\a.bin", 1023);
    makeSparseFile(app.drives, "c:\\dati\\b.bin", 1048575);
    makeSparseFile(app.drives, "c:\\dati\\c.bin", 1048576);
    makeSparseFile(app.drives, "c:\\dati\\d.bin", 5LL << 30);
    MainWindow& m = app.startIn("c:\\dati");
    EXPECT_EQ(pressedBy(m, 'E'), "esci");
    EXPECT_EQ(pressedBy(m, 's'), "<none>") << "nothing to split before a file is chosen";
    EXPECT_EQ(pressedBy(m, '&'), "<none>");
    for (auto [name, text] : {std::pair{"a.bin", "1023 byte;"},
                              {"b.bin", "1023 KB;"},
                              {"c.bin", "1024 KB (1 MB)"},
                              {"d.bin", "5242880 KB (5120 MB)"}}) {
        clickFile(m, name);
        EXPECT_EQ(m.infolabel.caption(), std::string("NOME FILE: ") + name + "   Dimensione: " + text);
    }
    EXPECT_EQ(m.dimensione, 5LL << 30);
    EXPECT_EQ(m.percorso, "c:\\dati\\d.bin");
    EXPECT_EQ(m.optionsfrm().outputdir.text(), "c:\\myfiles\\[d.bin]");
    EXPECT_EQ(pressedBy(m, 's'), "split");

    // The stored destination is taken as it is, a final separator included.
    app.store("Destinazione", "dir", "d:\\parti\\");
    clickFile(m, "a.bin");
    EXPECT_EQ(m.optionsfrm().outputdir.text(), "d:\\parti\\\\[a.bin]");

    // In join mode a click only updates the destination.
    m.Option2.userClick();
    ASSERT_TRUE(m.Option2.value());
    EXPECT_EQ(pressedBy(m, 's'), "<none>") << "the split button is greyed in join mode";
    m.list.setSelected(1, true);
    EXPECT_EQ(m.optionsfrm().outputdir.text(), "d:\\parti\\\\[b.bin]");
    EXPECT_EQ(m.filesel, "a.bin");

    // A drive root already ends in its separator.
    m.Option1.userClick();
    app.drives.write("c:\\e.txt", "abc");
    app.drives.write("c:\\gone.bin", patternBytes(9000));
    m.dir.setPath("c:\\");
    clickFile(m, "e.txt");
    EXPECT_EQ(m.percorso, "c:\\e.txt");

    // A file gone since it was listed: retried, still missing, then skipped.
    ASSERT_TRUE(std::filesystem::remove(app.drives.hostFile("c:\\gone.bin")));
    app.desktop.answer(mb::IdOK);
    app.desktop.answer(mb::IdCancel);
    clickFile(m, "gone.bin");
    EXPECT_EQ(app.desktop.count("box File non trovato!"), 2);
    EXPECT_EQ(m.filesel, "gone.bin");
    EXPECT_EQ(m.dimensione, 3) << "a skipped measurement keeps the previous size";
    EXPECT_EQ(m.infolabel.caption(), "NOME FILE: gone.bin   Dimensione: 3 byte;");
}

} // namespace
} // namespace brenvik
