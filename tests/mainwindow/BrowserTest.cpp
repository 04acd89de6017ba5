#include "mainwindow/MainWindow.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

int indexOf(const DirList& dir, const std::string& label) {
    const auto& entries = dir.entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].label == label)
            return static_cast<int>(i);
    return -1;
}

TEST(BrowserTest, OpeningASubfolderBringsEveryListAndTextIntoStep) {
    TestApp app;
    app.drives.makeFolders("c:\\dati\\sub");
    app.drives.write("c:\\dati\\sub\\uno.bin", "1");
    app.drives.write("c:\\dati\\sub\\.nascosto", "2");
    MainWindow& m = app.startIn("c:\\dati");
    m.split.setEnabled(true);
    m.Frame3.setEnabled(true);
    m.Label5.setCaption("4");

    m.dir.userOpen(indexOf(m.dir, "sub"));
    EXPECT_EQ(m.dir.path(), "c:\\dati\\sub");
    EXPECT_EQ(m.list.items(), (std::vector<std::string>{".nascosto", "uno.bin"})) << "hidden files are listed";
    EXPECT_EQ(m.File2.items(), m.list.items());
    EXPECT_EQ(m.pathbar.text(), "c:\\dati\\sub");
    EXPECT_EQ(m.dir.toolTip(), "c:\\dati\\sub");
    EXPECT_EQ(m.infolabel.caption(), "Path: c:\\dati\\sub");
    EXPECT_EQ(m.list.toolTip(), "");
    EXPECT_FALSE(m.split.enabled());
    EXPECT_FALSE(m.Frame3.enabled());
    EXPECT_EQ(m.Label5.caption(), "0");

    // The open levels above lead back up.
    m.dir.userOpen(indexOf(m.dir, "dati"));
    EXPECT_EQ(m.pathbar.text(), "c:\\dati");
}

TEST(BrowserTest, HighlightingAFolderOnlyRefreshesTheToolTip) {
    TestApp app;
    app.drives.makeFolders("c:\\dati");
    MainWindow& m = app.startIn();
    m.dir.setToolTip("stale");
    m.dir.userHighlight(indexOf(m.dir, "dati"));
    EXPECT_EQ(m.dir.path(), "c:\\");
    EXPECT_EQ(m.list.path(), "c:\\");
    EXPECT_EQ(m.dir.toolTip(), "c:\\");
}

TEST(BrowserTest, DriveChangeRunsTheWholeFolderChangeBeforeItGoesOn) {
    TestApp app;
    app.drives.write("d:\\su-d.txt", "d");
    MainWindow& m = app.startIn();
    std::string driveTipDuringFolderChange;
    auto trova = m.File2.onPathChange;
    m.File2.onPathChange = [&] {
        driveTipDuringFolderChange = m.drive.toolTip();
        trova();
    };
    std::string before = m.drive.toolTip();
    m.drive.userChoose(1);
    EXPECT_EQ(m.dir.path(), "d:\\");
    EXPECT_EQ(m.list.items(), std::vector<std::string>{"su-d.txt"});
    EXPECT_EQ(m.pathbar.text(), "d:\\");
    EXPECT_EQ(driveTipDuringFolderChange, before);
    EXPECT_EQ(m.drive.toolTip(), "Drive Corrente (d: [" + app.drives.under("d") + "])");
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
    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.desktop.boxes[0].text, "Unità non pronta!");
    EXPECT_EQ(app.desktop.boxes[0].title, "Errore");
    EXPECT_EQ(m.dir.path(), "e:\\");
    EXPECT_EQ(m.pathbar.text(), "e:\\");

    // Back on c:, then e: without a medium, answered Cancel.
    m.drive.userChoose(0);
    std::filesystem::remove(media);
    app.desktop.answer(mb::IdCancel);
    m.drive.userChoose(e);
    EXPECT_EQ(m.drive.drive(), "e: [" + media + "]");
    EXPECT_EQ(m.drive.toolTip(), "Drive Corrente (e: [" + media + "])");
    EXPECT_EQ(m.dir.path(), "c:\\") << "the previous folder stays on show";
    EXPECT_EQ(m.pathbar.text(), "c:\\");
}

TEST(BrowserTest, AFolderRemovedWhileOnShowGivesWayToTheNearestLevelLeft) {
    TestApp app;
    app.drives.makeFolders("c:\\dati\\sub\\dentro");
    app.drives.write("c:\\dati\\sub\\uno.bin", patternBytes(5000));
    app.drives.write("c:\\dati\\resta.bin", "resta");
    MainWindow& m = app.startIn("c:\\dati\\sub");
    std::filesystem::remove_all(app.drives.host("c:\\dati\\sub"));

    // The file still listed: its measurement fails, the user goes on without it.
    app.desktop.answer(mb::IdCancel);
    m.list.userClickItem(0);
    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.desktop.boxes[0].text, "Percorso inesistente...");
    EXPECT_EQ(app.desktop.boxes[0].title, "Errore");

    // Opening its vanished sub-folder shows the nearest level that is left, every list in step.
    m.dir.userOpen(indexOf(m.dir, "dentro"));
    EXPECT_EQ(m.dir.path(), "c:\\dati");
    EXPECT_EQ(m.list.items(), std::vector<std::string>{"resta.bin"});
    EXPECT_EQ(m.File2.items(), m.list.items());
    EXPECT_EQ(m.pathbar.text(), "c:\\dati");
    EXPECT_EQ(indexOf(m.dir, "sub"), -1);
    EXPECT_EQ(app.desktop.boxes.size(), 1u);
    clickFile(m, "resta.bin");
    EXPECT_EQ(m.infolabel.caption(), "NOME FILE: resta.bin   Dimensione: 5 byte;");
    EXPECT_FALSE(app.drives.exists("c:\\dati\\sub")) << "nothing is made again";
}

// A folder whose listing fails with a chosen number: the failures a real disk gives rarely. The
// file list and the join's list each read it, and each reports on its own.
TEST(BrowserTest, AListingThatFailsIsReportedPerListAndTheFolderChangeGoesOn) {
    struct Case {
        int number;
        std::vector<int> answers;
        std::vector<std::string> boxes;
        bool ends;
    };
    const Case cases[] = {
        {999, {mb::IdOK, mb::IdOK}, {"Errore Sconosciuto", "Errore Sconosciuto"}, false},
        // Retried once, failing the same way, then passed over: one box per list.
        {57, {mb::IdOK, mb::IdOK}, {"Errore nella periferica!", "Errore nella periferica!"}, false},
        {62, {mb::IdAbort, mb::IdOK}, {"Errore di Input!", "Errore Irreversibile"}, true},
    };
    for (const Case& c : cases) {
        TestApp app;
        app.drives.makeFolders("c:\\guasta");
        MainWindow& m = app.startIn("c:\\");
        app.files.beforeList = [&c](const std::string& path) {
            if (path == "c:\\guasta")
                throw RuntimeError(c.number);
        };
        for (int a : c.answers)
            app.desktop.answer(a);
        if (c.ends) {
            EXPECT_THROW(m.dir.setPath("c:\\guasta"), ProgramEnded);
        } else {
            m.dir.setPath("c:\\guasta");
            EXPECT_EQ(m.pathbar.text(), "c:\\guasta") << c.number << ": the steps after the failed ones still ran";
            EXPECT_EQ(m.list.path(), "c:\\") << c.number;
        }
        std::vector<std::string> texts;
        for (const auto& box : app.desktop.boxes)
            texts.push_back(box.text);
        EXPECT_EQ(texts, c.boxes) << c.number;
        if (c.number != 57) {
            EXPECT_EQ(app.desktop.boxes.back().flags, mb::OK) << c.number;
            EXPECT_EQ(app.desktop.boxes.back().title, "Brenvik") << c.number;
        }
        EXPECT_EQ(app.desktop.ended, c.ends) << c.number;
    }
}

} // namespace
} // namespace brenvik
