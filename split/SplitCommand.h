#pragma once

namespace brenvik {

class MainWindow;

// "&Splitta Files": the split of the file chosen in the window, into the destination its dialog
// shows (see Splitter), and its figures back into the window's state.
class SplitCommand {
public:
    explicit SplitCommand(MainWindow& main) : m(main) {}

    void Split_Click();

private:
    MainWindow& m;
};

} // namespace brenvik
