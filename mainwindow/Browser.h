#pragma once

namespace brenvik {

class MainWindow;

// The drive, folder and file lists and the path box kept in step: a drive change runs the whole
// folder change, which moves both file lists, before it goes on.
class Browser {
public:
    explicit Browser(MainWindow& main) : m(main) {}

    void drive_Change();
    void dir_Change();
    void dir_Click();
    void list_PathChange();
    void File2_PathChange();

private:
    MainWindow& m;
};

} // namespace brenvik
