#pragma once

namespace brenvik {

class MainWindow;

// "&Splitta Files": validation, destination, part count, parts, script, and the file manager.
class SplitCommand {
public:
    explicit SplitCommand(MainWindow& main) : m(main) {}

    void Split_Click();

private:
    MainWindow& m;
};

} // namespace brenvik
