#pragma once

#include "support/TestApp.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brenvik::splittest {

// A started program with `bytes` as c:\src\<name> selected and the part size set to `kb`.
struct Split {
    Split(const std::string& name, const std::string& bytes, int64_t kb);
    MainWindow& m() { return app.main(); }
    std::string dest() const { return "c:\\myfiles\\[" + name + "]"; }
    std::string part(int i) const { return dest() + "\\" + name + "." + std::to_string(1000 + i).substr(1); }
    std::string script() const { return dest() + "\\Assembla[" + name + "].bat"; }
    void run() { m().split.click(); }

    TestApp app;
    std::string name;
    std::string source;
};

// Leaves `kb` in the part-size box, as typing it would.
void setSizeKb(MainWindow& m, int64_t kb);

// The parts prefix + "000" onwards, joined in number order.
std::string joinParts(TestDrives& drives, const std::string& prefix, int count);

} // namespace brenvik::splittest
