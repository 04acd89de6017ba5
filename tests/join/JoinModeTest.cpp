#include "JoinScript.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

using Names = std::vector<std::string>;

void touchFiles(TestApp& app, const std::string& folder, const Names& names) {
    app.drives.makeFolders(folder);
    for (const std::string& n : names)
        app.drives.write(folder + "\\" + n, "x");
}

TEST(JoinModeTest, EnteringJoinModeSelectsTheRunOfPartsAndReportsIt) {
    TestApp app;
    touchFiles(app, "c:\\parti", {"a.avi", "a.avi.000", "a.avi.001", "a.avi.002", "leggimi.txt", "z.bin"});
    MainWindow& m = app.startIn("c:\\parti");

    // In split mode the detection has already run on the hidden list, silently.
    EXPECT_EQ(selectedItems(m.File2), (Names{"a.avi.000", "a.avi.001", "a.avi.002"}));
    EXPECT_EQ(m.nomebase, "a.avi");
    EXPECT_EQ(m.Label5.caption(), "0");
    EXPECT_TRUE(app.desktop.boxes.empty());

    m.list.userClickItem(4);
    m.pathbar.setText("c:\\parti\\leggimi.txt");
    m.setProgress(4000, "100");
    m.split.setEnabled(true);
    m.Frame3.setEnabled(true);
    enterJoinMode(app.desktop, m, 3);

    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.desktop.boxes[0].flags, mb::OK | mb::Information);
    EXPECT_EQ(app.desktop.boxes[0].title, "Brenvik");
    EXPECT_EQ(selectedItems(m.File2), (Names{"a.avi.000", "a.avi.001", "a.avi.002"}));
    EXPECT_EQ(m.Label5.caption(), "3");
    EXPECT_EQ(m.nomebase, "a.avi");
    EXPECT_EQ(m.File2.toolTip(), "File selezionato (a.avi.002)");
    EXPECT_EQ(m.focused(), &m.uniscifile);
    EXPECT_TRUE(m.file1.visible());
    EXPECT_TRUE(m.unisci.visible());
    EXPECT_EQ(m.infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!");
    EXPECT_EQ(m.pathbar.text(), "c:\\parti") << "the join reads from the folder, not the file picked last";
    EXPECT_EQ(m.barra.width(), 0);
    EXPECT_EQ(m.bianco.caption(), "0");
    EXPECT_FALSE(m.split.enabled());
    EXPECT_FALSE(m.Frame3.enabled());
    EXPECT_TRUE(selectedItems(m.list).empty());
}

TEST(JoinModeTest, TheRunStopsAtAMissingNumberAndAtTheNextSet) {
    struct Case {
        Names files;
        Names found;
        std::string base;
    };
    const Case cases[] = {
        {{"f.000", "f.001", "f.003"}, {"f.000", "f.001"}, "f"},
        {{"x.000", "x.001", "y.000", "y.001"}, {"x.000", "x.001"}, "x"},
        // The last four characters go, whatever they are.
        {{"backup2000", "note.txt"}, {"backup2000"}, "backup"},
        // Cut by characters: the letter before the number is not split in half.
        {{"filmè000", "filmè001"}, {"filmè000", "filmè001"}, "film"},
        {{"città.avi.000"}, {"città.avi.000"}, "città.avi"},
        // A part that is only its number has no base name to propose, and the run goes on.
        {{"000", "001", "002"}, {"000", "001", "002"}, ""},
    };
    for (const Case& c : cases) {
        TestApp app;
        touchFiles(app, "c:\\serie", c.files);
        MainWindow& m = app.startIn("c:\\serie");
        enterJoinMode(app.desktop, m, static_cast<int>(c.found.size()));
        EXPECT_EQ(selectedItems(m.File2), c.found) << c.files[0];
        EXPECT_EQ(m.Label5.caption(), std::to_string(c.found.size())) << c.files[0];
        EXPECT_EQ(m.nomebase, c.base) << c.files[0];
    }
}

TEST(JoinModeTest, TheExpectedNumberRunsThroughAThousandPartsAndStartsAgain) {
    TestApp app;
    Names files;
    for (int i = 0; i < 1000; ++i)
        files.push_back(partName("p", i));
    files.push_back("q.000");
    files.push_back("q.001");
    files.push_back("q.003");
    touchFiles(app, "c:\\mille", files);
    MainWindow& m = app.startIn("c:\\mille");
    enterJoinMode(app.desktop, m, 1002);
    EXPECT_EQ(m.Label5.caption(), "1002");
    EXPECT_TRUE(m.File2.selected(99) && m.File2.selected(100) && m.File2.selected(999));
    EXPECT_TRUE(m.File2.selected(1001));
    EXPECT_FALSE(m.File2.selected(1002));
    EXPECT_EQ(m.nomebase, "q");
}

TEST(JoinModeTest, TheCounterFollowsTheUserAndFolderChangesAndModeSwitchesRepeatTheDetection) {
    TestApp app;
    touchFiles(app, "c:\\parti", {"a.avi.000", "a.avi.001", "a.avi.002", "b.txt"});
    touchFiles(app, "c:\\altro", {"a.txt", "b.001", "c.0000x"});
    MainWindow& m = app.startIn("c:\\parti");
    enterJoinMode(app.desktop, m, 3);

    // A folder change in join mode resets the counter and runs the detection again: nothing
    // found shows nothing and clears the base name.
    m.dir.setPath("c:\\altro");
    EXPECT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_TRUE(selectedItems(m.File2).empty());
    EXPECT_EQ(m.Label5.caption(), "0");
    EXPECT_EQ(m.nomebase, "");
    app.desktop.answer(mb::IdOK);
    m.dir.setPath("c:\\parti");
    ASSERT_EQ(app.desktop.boxes.size(), 2u);
    EXPECT_EQ(app.desktop.boxes[1].text, foundMessage(3));
    EXPECT_EQ(m.nomebase, "a.avi");

    m.File2.userClickItem(1);
    EXPECT_EQ(m.Label5.caption(), "2");
    EXPECT_EQ(m.File2.toolTip(), "File selezionato (a.avi.001)") << "the current item, selected or not";
    m.File2.userClickItem(3);
    EXPECT_EQ(m.Label5.caption(), "3");
    EXPECT_EQ(m.File2.toolTip(), "File selezionato (b.txt)");

    m.Option1.userClick();
    EXPECT_FALSE(m.file1.visible());
    EXPECT_FALSE(m.unisci.visible());
    EXPECT_EQ(m.infolabel.caption(), "Seleziona il file da splittare!");
    EXPECT_EQ(m.bianco.caption(), "0");
    EXPECT_EQ(m.barra.width(), 0);

    // In split mode the counter is not kept, even when code changes File2's selection.
    m.File2.setSelected(1, false);
    EXPECT_EQ(m.Label5.caption(), "3");

    enterJoinMode(app.desktop, m, 3);
    EXPECT_EQ(selectedItems(m.File2), (Names{"a.avi.000", "a.avi.001", "a.avi.002"}));
    EXPECT_EQ(m.Label5.caption(), "3");
    EXPECT_EQ(app.desktop.boxes.size(), 3u);
}

} // namespace
} // namespace brenvik
