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

} // namespace
} // namespace brenvik
