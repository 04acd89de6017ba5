#include "split/SplitTestSupport.h"

#include "join/JoinScript.h"

#include <gtest/gtest.h>

namespace brenvik::splittest {

Split::Split(const std::string& fileName, const std::string& bytes, int64_t kb) : name(fileName), source(bytes) {
    app.drives.makeFolders("c:\\src");
    app.drives.write("c:\\src\\" + name, bytes);
    clickFile(app.startIn("c:\\src"), name);
    setSizeKb(m(), kb);
}

SecondSplit::SecondSplit(size_t bytes, const std::function<void(TestApp&)>& prepare, size_t earlierBytes,
                         int64_t earlierKb)
    : Split("film.avi", patternBytes(earlierBytes), earlierKb) {
    if (prepare)
        prepare(app);
    run();
    earlier = folder();
    source = patternBytes(bytes, 2);
    app.drives.write("c:\\src\\film.avi", source);
}

std::map<std::string, std::string> SecondSplit::folder() {
    return contents(app.drives, dest());
}

void SecondSplit::expectSplitsWhole() {
    source = app.drives.read("c:\\src\\film.avi");
    const int count = static_cast<int>((source.size() + 4095) / 4096);
    run();
    EXPECT_EQ(m().infolabel.caption(),
              " " + std::to_string(count) + "/ " + std::to_string(count) + " files creati con  SUCCESSO");
    std::vector<std::string> names{"Assembla[film.avi].bat"};
    for (int i = 0; i < count; ++i)
        names.push_back("film.avi." + std::to_string(1000 + i).substr(1));
    EXPECT_EQ(app.drives.fs().files(dest()), names);
    EXPECT_TRUE(joinParts(app.drives, dest() + "\\film.avi.", count) == source) << "the parts rebuild the source";
}

void SecondSplit::expectSplitsAndJoinsBack(int64_t kb) {
    setSizeKb(m(), kb);
    run();
    const int64_t bytes = static_cast<int64_t>(app.drives.read("c:\\src\\film.avi").size());
    const int parts = static_cast<int>((bytes + kb * 1024 - 1) / (kb * 1024));
    const std::string count = std::to_string(parts);
    ASSERT_EQ(m().infolabel.caption(), " " + count + "/ " + count + " files creati con  SUCCESSO");
    m().dir.setPath(dest());
    enterJoinMode(app.desktop, m(), parts);
    answerName(app.desktop);
    m().uniscifile.userClick();
    ASSERT_EQ(m().infolabel.caption(), "File Creato in c:\\myfiles\\film.avi");
    EXPECT_TRUE(app.drives.read("c:\\myfiles\\film.avi") == app.drives.read("c:\\src\\film.avi"))
        << "the join rebuilds the source";
}

std::map<std::string, std::string> contents(TestDrives& drives, const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const std::string& name : drives.fs().files(folder))
        out[name] = drives.read(folder + "\\" + name);
    return out;
}

void setSizeKb(MainWindow& m, int64_t kb) {
    m.Text.setText(std::to_string(kb));
}

std::string joinParts(TestDrives& drives, const std::string& prefix, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string ext = std::to_string(1000 + i).substr(1);
        out += drives.read(prefix + ext);
    }
    return out;
}

} // namespace brenvik::splittest
