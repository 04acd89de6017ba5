#include "join/JoinScript.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

using Names = std::vector<std::string>;

Names selectedItems(FileList& list) {
    Names out;
    for (int i = 0; i < list.count(); ++i)
        if (list.selected(i))
            out.push_back(list.item(i));
    return out;
}

MainWindow& startAmong(TestApp& app, const std::string& folder, const Names& names) {
    app.drives.makeFolders(folder);
    for (const std::string& n : names)
        app.drives.write(folder + "\\" + n, "x");
    return app.startIn(folder);
}

TEST(JoinModeTest, TheRunStopsAtAMissingNumberAndAtTheNextSetAndStartsAgainAfterAThousand) {
    struct Case {
        Names files;
        Names found;
        std::string base;
    };
    // A thousand parts, then the next set's run up to its gap.
    Names thousandFound;
    for (int i = 0; i < 1000; ++i)
        thousandFound.push_back("p." + std::to_string(1000 + i).substr(1));
    thousandFound.insert(thousandFound.end(), {"q.000", "q.001"});
    Names thousandFiles = thousandFound;
    thousandFiles.push_back("q.003");
    const Case cases[] = {
        {{"a.avi", "a.avi.000", "a.avi.001", "a.avi.002", "leggimi.txt"},
         {"a.avi.000", "a.avi.001", "a.avi.002"},
         "a.avi"},
        {{"f.000", "f.001", "f.003"}, {"f.000", "f.001"}, "f"},
        {{"x.000", "x.001", "y.000", "y.001"}, {"x.000", "x.001"}, "x"},
        // After 999 the expected number is 000 again.
        {thousandFiles, thousandFound, "q"},
        // The last four characters go, whatever they are, counted as characters.
        {{"backup2000", "note.txt"}, {"backup2000"}, "backup"},
        {{"filmè000", "filmè001"}, {"filmè000", "filmè001"}, "film"},
        // A part that is only its number has no base name to propose, and the run goes on.
        {{"000", "001", "002"}, {"000", "001", "002"}, ""},
    };
    for (const Case& c : cases) {
        TestApp app;
        MainWindow& m = startAmong(app, "c:\\serie", c.files);
        enterJoinMode(app.desktop, m, static_cast<int>(c.found.size()));
        EXPECT_EQ(selectedItems(m.File2), c.found) << c.files[0];
        EXPECT_EQ(m.Label5.caption(), std::to_string(c.found.size())) << c.files[0];
        EXPECT_EQ(m.nomebase, c.base) << c.files[0];
    }
}

TEST(JoinModeTest, TheCounterFollowsTheUserAndAFolderChangeRepeatsTheDetection) {
    TestApp app;
    app.drives.makeFolders("c:\\altro");
    MainWindow& m = startAmong(app, "c:\\parti", {"a.avi.000", "a.avi.001", "a.avi.002", "b.txt"});
    clickFile(m, "b.txt");
    enterJoinMode(app.desktop, m, 3);
    EXPECT_EQ(m.pathbar.text(), "c:\\parti") << "the join reads from the folder, not the file picked last";
    m.dir.setPath("c:\\altro");
    EXPECT_EQ(m.Label5.caption(), "0");
    app.desktop.answer(mb::IdOK);
    m.dir.setPath("c:\\parti");
    for (int i : {1, 3})
        m.File2.userClickItem(i);
    EXPECT_EQ(selectedItems(m.File2), (Names{"a.avi.000", "a.avi.002", "b.txt"}));
    EXPECT_EQ(m.Label5.caption(), "3");
}

} // namespace
} // namespace brenvik
