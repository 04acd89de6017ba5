#pragma once

#include <cstdint>
#include <string>

namespace brenvik {

class MainWindow;

// "&Splitta Files": validation, destination, part count, part names, parts, script, and the
// file manager on the destination.
class SplitCommand {
public:
    explicit SplitCommand(MainWindow& main) : m(main) {}

    // The whole split, run to its end without taking input. Refusals go to the status line. A
    // file-system failure shows the error table's message and stops the split with a status
    // text that does not claim success (no incomplete part, no script for an incomplete set);
    // the answer "Retry" to a message that offers it runs the split again from the start.
    void Split_Click();

    // Stop flags, 1 to refuse the split (the reason in the status line), 0 to go on: a part size
    // of 0 or larger than the file; more than 1000 parts.
    int16_t ControllaGrandezza(int64_t grandezza, int64_t dimensione);
    int16_t ControllaParti(int64_t numparti);

private:
    enum class Outcome { Done, TryAgain };
    Outcome runOnce();
    Outcome failed(int number);
    // Ends a split that did not complete: `status` says why, and the progress display is emptied.
    Outcome interrupted(const std::string& status);
    void measureSourceAgain();

    MainWindow& m;
};

} // namespace brenvik
