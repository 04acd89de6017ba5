#include "split/SplitTestSupport.h"

#include "join/JoinScript.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik::splittest {

Split::Split(const std::string& fileName, const std::string& bytes, int64_t kb) : name(fileName), source(bytes) {
    app.drives.write("c:\\src\\" + name, bytes);
    clickFile(app.startIn("c:\\src"), name);
    setKb(kb);
}

std::map<std::string, std::string> Split::folder() {
    std::map<std::string, std::string> out;
    for (const std::string& file : app.drives.fs().files(dest()))
        out[file] = app.drives.read(dest() + "\\" + file);
    return out;
}

SecondSplit::SecondSplit(size_t bytes, size_t earlierBytes, int64_t earlierKb)
    : Split("film.avi", patternBytes(earlierBytes), earlierKb) {
    run();
    earlier = folder();
    source = patternBytes(bytes, 2);
    app.drives.write("c:\\src\\film.avi", source);
    // Written long ago: a rewrite during the split shows in the time of writing, however coarse
    // the clock.
    std::filesystem::last_write_time(app.drives.hostFile("c:\\src\\film.avi"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
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
    const int64_t bytes = static_cast<int64_t>(app.drives.read("c:\\src\\film.avi").size());
    splitAndJoinBack(app, "film.avi", kb, static_cast<int>((bytes + kb * 1024 - 1) / (kb * 1024)));
    EXPECT_TRUE(app.drives.read("c:\\myfiles\\film.avi") == app.drives.read("c:\\src\\film.avi"))
        << "the join rebuilds the source";
}

std::string joinParts(TestDrives& drives, const std::string& prefix, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += drives.read(prefix + std::to_string(1000 + i).substr(1));
    return out;
}

std::pair<int, std::string> partRun(TestDrives& drives, const std::string& folder, const std::string& name) {
    int count = 0;
    while (count < 1000 && drives.fs().fileExists(folder + "\\" + name + "." + std::to_string(1000 + count).substr(1)))
        ++count;
    return {count, joinParts(drives, folder + "\\" + name + ".", count)};
}

} // namespace brenvik::splittest
