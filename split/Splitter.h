#pragma once

#include "split/PartNames.h"

#include <cstdint>
#include <string>

namespace brenvik {

class Platform;
class SplitReport;

// What is split, and where: what the window holds when "Splitta Files" is pressed.
struct SplitRequest {
    std::string typedSize;  // the part-size box's text, as typed
    int64_t grandezza = 0;  // the part size in bytes
    std::string outputdir;  // the destination's text; empty: the source's own folder
    std::string filesel;    // the source's name,
    std::string cartella;   // its folder, ending in "\",
    std::string percorso;   // and its path
    int64_t dimensione = 0; // its size when it was selected
};

// The window's figures that a split sets, each as the step that sets it leaves it: a split
// refused before a step leaves that step's figures as they were. The steps that run aside only
// read them, and the window takes no input meanwhile.
struct SplitFigures {
    int64_t& resto;
    int32_t& numparti;
    std::string& prefisso;
    std::string& prefissodest;
    Extensions& estensioni;
};

// The split from its checks to its last file: validation, destination, part count, part names,
// parts, script, and the file manager on the destination. It runs to its end without taking
// input; what it tells goes to `report`, its message boxes and the file manager through
// `platform`.
class Splitter {
public:
    Splitter(Platform& platform, SplitReport& report) : platform_(platform), report_(report) {}

    // Refusals go to the status line. The parts, the script and their names are written aside
    // (Platform::runAside), the window answering meanwhile. A file-system failure shows the error
    // table's message and ends the split with a status text that claims nothing (the folder as
    // it was, see PartSet); the answer "Retry" to a message that offers it runs the split again
    // from the start. Another Brenvik naming files in the destination is waited for, as the
    // status line says, for FolderWait::Bound at most.
    void split(const SplitRequest& request, SplitFigures& figures);

    // Stop flags, 1 to refuse the split (the reason in the status line), 0 to go on: a part size
    // of 0 or larger than the file; more than 1000 parts.
    int16_t ControllaGrandezza(int64_t grandezza, int64_t dimensione);
    int16_t ControllaParti(int64_t numparti);

private:
    enum class Outcome { Done, TryAgain };
    // Where the parts go: the folder (ending in "\"), and the number of the failure that left a
    // level of it missing, if any.
    struct Destination {
        std::string cartdest;
        int levelFailure = 0;
    };
    Outcome runOnce(const SplitRequest& request, SplitFigures& figures);
    Destination destination(const SplitRequest& request, SplitFigures& figures);
    // The part count and the short last part's size, once the checks let the split go on.
    bool count(int64_t grandezza, int64_t dimensione, SplitFigures& figures);
    // Names, parts and script, written aside and named together.
    void write(const SplitRequest& request, const std::string& cartdest, SplitFigures& figures);
    // The source's size now: the file may have changed since it was selected.
    int64_t measure(const SplitRequest& request);
    Outcome failed(int number, const std::string& cartdest);
    // Ends a split that did not complete: `status` says why, and the progress display is emptied.
    Outcome interrupted(const std::string& status);

    Platform& platform_;
    SplitReport& report_;
};

} // namespace brenvik
