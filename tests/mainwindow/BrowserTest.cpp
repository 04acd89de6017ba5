#include "mainwindow/MainWindow.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

int indexOf(const DirList& dir, const std::string& label) {
    const auto& e = dir.entries();
    return static_cast<int>(std::find_if(e.begin(), e.end(), [&](const auto& x) { return x.label == label; }) -
                            e.begin());
}

TEST(BrowserTest, OpeningAFolderOrOneRemovedWhileOnShowBringsEveryListAndTextIntoStep) {
    TestApp app;
    app.drives.makeFolders("c:\\dati\\sub\\dentro");
    app.drives.write("c:\\dati\\sub\\uno.bin", "1");
    app.drives.write("c:\\dati\\sub\\.nascosto", "2");
    app.drives.write("c:\\dati\\resta.bin", "resta");
    MainWindow& m = app.startIn("c:\\dati");
    m.split.setEnabled(true);

    m.dir.userOpen(indexOf(m.dir, "sub"));
    EXPECT_EQ(m.dir.path(), "c:\\dati\\sub");
    EXPECT_EQ(m.list.items(), (std::vector<std::string>{".nascosto", "uno.bin"})) << "hidden files are listed";
    EXPECT_EQ(m.File2.items(), m.list.items());
    EXPECT_EQ(m.pathbar.text(), "c:\\dati\\sub");
    EXPECT_EQ(m.infolabel.caption(), "Path: c:\\dati\\sub");
    EXPECT_FALSE(m.split.enabled());

    // The open levels above lead back up.
    m.dir.userOpen(indexOf(m.dir, "dati"));
    EXPECT_EQ(m.pathbar.text(), "c:\\dati");

    m.dir.userOpen(indexOf(m.dir, "sub"));
    std::filesystem::remove_all(app.drives.host("c:\\dati\\sub"));
    // The file still listed: its measurement fails, the user goes on without it.
    app.desktop.answer(mb::IdCancel);
    m.list.userClickItem(1);
    EXPECT_EQ(app.desktop.count("box Percorso inesistente..."), 1);

    // Opening its vanished sub-folder shows the nearest level that is left, every list in step.
    m.dir.userOpen(indexOf(m.dir, "dentro"));
    EXPECT_EQ(m.dir.path(), "c:\\dati");
    EXPECT_EQ(m.list.items(), std::vector<std::string>{"resta.bin"});
    EXPECT_EQ(m.File2.items(), m.list.items());
    EXPECT_EQ(m.pathbar.text(), "c:\\dati");
    clickFile(m, "resta.bin");
    EXPECT_EQ(m.infolabel.caption(), "NOME FILE: resta.bin   Dimensione: 5 byte;");
    EXPECT_FALSE(app.drives.exists("c:\\dati\\sub")) << "nothing is made again";
}

TEST(BrowserTest, DriveNotReadyIsRetriedOrSkipped) {
    TestApp app;
    std::string media = app.drives.under("media");
    app.drives.mapDrive('e', media);
    MainWindow& m = app.startIn();
    m.drive.refresh();
    int e = static_cast<int>(m.drive.entries().size()) - 1;

    // The user puts the medium in and retries.
    app.desktop.answer(mb::IdOK, [&] { std::filesystem::create_directories(media); });
    m.drive.userChoose(e);
    EXPECT_EQ(app.desktop.count("box Unità non pronta!"), 1);
    EXPECT_EQ(m.pathbar.text(), "e:\\");

    // Back on c:, then e: without a medium, answered Cancel.
    m.drive.userChoose(0);
    std::filesystem::remove(media);
    app.desktop.answer(mb::IdCancel);
    m.drive.userChoose(e);
    EXPECT_EQ(m.drive.toolTip(), "Drive Corrente (e: [" + media + "])");
    EXPECT_EQ(m.dir.path(), "c:\\") << "the previous folder stays on show";
    EXPECT_EQ(m.pathbar.text(), "c:\\");
}

// A folder whose listing fails with a chosen number: the failures a real disk gives rarely. The
// file list and the join's list each read it, and each reports on its own.
TEST(BrowserTest, AListingThatFailsIsReportedPerListAndTheFolderChangeGoesOn) {
    struct Case {
        int number, answer;
        const char* box;
    };
    // Unknown; retried once, failing the same way, then passed over; irreversible, which ends.
    for (const Case& c : {Case{999, mb::IdOK, "Errore Sconosciuto"}, Case{57, mb::IdOK, "Errore nella periferica!"},
                          Case{62, mb::IdAbort, "Errore di Input!"}}) {
        TestApp app;
        app.drives.makeFolders("c:\\guasta");
        MainWindow& m = app.startIn("c:\\");
        app.files.beforeList = [&c](const std::string& path) {
            if (path == "c:\\guasta")
                throw RuntimeError(c.number);
        };
        app.desktop.answer(c.answer);
        app.desktop.answer(mb::IdOK);
        if (c.number == 62) {
            EXPECT_THROW(m.dir.setPath("c:\\guasta"), ProgramEnded);
            EXPECT_EQ(app.desktop.count("box Errore Irreversibile"), 1);
            continue;
        }
        m.dir.setPath("c:\\guasta");
        EXPECT_EQ(m.pathbar.text(), "c:\\guasta") << c.number << ": the steps after the failed ones still ran";
        EXPECT_EQ(m.list.path(), "c:\\") << c.number;
        EXPECT_EQ(app.desktop.count(std::string("box ") + c.box), 2) << c.number;
    }
}

std::string pressedBy(const MainWindow& m, char letter) {
    const Control* target = m.accessKeyTarget(letter);
    return target ? target->name() : "<none>";
}

// The access keys the front ends without their own mnemonics follow: the letter marked in a
// caption, in either case, only on a button the user can reach in the window's present state.
TEST(BrowserTest, ClickDescribesTheFileRecordsTheSourceAndPreparesTheSplitAndItsAccessKey) {
    TestApp app;
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
