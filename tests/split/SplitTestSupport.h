#pragma once

#include "support/TestApp.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace brenvik::splittest {

// A started program with `bytes` as c:\src\<name> selected and the part size set to `kb`.
struct Split {
    Split(const std::string& name, const std::string& bytes, int64_t kb);
    MainWindow& m() { return app.main(); }
    std::string dest() const { return "c:\\myfiles\\[" + name + "]"; }
    std::string part(int i) const { return dest() + "\\" + name + "." + std::to_string(1000 + i).substr(1); }
    std::string script() const { return dest() + "\\Assembla[" + name + "].bat"; }
    // Leaves `kb` in the part-size box, as typing it would.
    void setKb(int64_t kb) { m().Text.setText(std::to_string(kb)); }
    void run() { m().split.click(); }
    // The destination's files, each with its bytes.
    std::map<std::string, std::string> folder();

    TestApp app;
    std::string name;
    std::string source;
};

// The second split of c:\src\film.avi into its destination: an earlier set of it is there (by
// default 10000 bytes in three parts of 4 KB, and its script), and the source now holds `bytes`
// other bytes (ten parts of 4 KB by default).
struct SecondSplit : Split {
    explicit SecondSplit(size_t bytes = 40000, size_t earlierBytes = 10000, int64_t earlierKb = 4);
    // The user splits again: the source as it is now, in parts of 4 KB with their script, and
    // nothing else.
    void expectSplitsWhole();
    // The user splits again into parts of `kb` and joins them back in join mode: the part
    // detection finds exactly the new set, and the join rebuilds the source.
    void expectSplitsAndJoinsBack(int64_t kb);

    std::map<std::string, std::string> earlier; // the destination after the first split
};

// The parts prefix + "000" onwards, joined in number order.
std::string joinParts(TestDrives& drives, const std::string& prefix, int count);

// The run of `name`'s parts in `folder` from 000, as the part detection finds it: how many, and
// their bytes.
std::pair<int, std::string> partRun(TestDrives& drives, const std::string& folder, const std::string& name);

} // namespace brenvik::splittest
