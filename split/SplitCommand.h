#pragma once

namespace brenvik {

class MainWindow;

// "&Splitta Files": the split of the file chosen in the window, into the destination its dialog
// shows (see Splitter), setting the window's figures as it goes.
class SplitCommand {
public:
    explicit SplitCommand(MainWindow& main) : m(main) {}

    void Split_Click();

private:
    MainWindow& m;
};

} // namespace brenvik
