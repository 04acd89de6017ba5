#pragma once

#include "join/Joiner.h"

#include <optional>
#include <string>
#include <vector>

namespace brenvik {

class MainWindow;

// "Unisci": the selected files of File2, in list order, into one new file in the destination
// folder of the settings, named through the dialog `nomefile`.
//
// Beyond the plain copy it guards the user's files: an output that is one of the sources is
// refused, an existing output is replaced only after a Yes (and then holds exactly the joined
// bytes), closing the dialog from its frame writes nothing, and the file itself is written by a
// Joiner, which gives it its name only once complete and on the disk.
class JoinCommand {
public:
    explicit JoinCommand(MainWindow& main) : m(main) {}

    void uniscifile_Click();

private:
    void join();
    // What to join and where, once the user named the output and agreed to replace a file of
    // that name; nothing when the join stops there, with the reason on the status line.
    std::optional<JoinRequest> chooseOutput(const std::string& folder);
    // Full paths of the selected items of File2, in list order.
    std::vector<std::string> selectedSources() const;
    bool isSource(const std::string& output, const std::vector<std::string>& sources) const;

    MainWindow& m;
};

} // namespace brenvik
