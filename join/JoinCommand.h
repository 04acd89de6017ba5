#pragma once

#include "join/Joiner.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {

class MainWindow;

// "Unisci": the selected files of File2, in list order, into one new file in the destination
// folder of the settings, named through the dialog `nomefile`.
//
// Beyond the plain copy it guards the user's files: the files joined are those chosen, as the list
// showed them (one changed since is refused, and the detection runs again), an output that is one
// of the sources is refused, an existing output is replaced only after a Yes (and then holds
// exactly the joined bytes), closing the dialog from its frame writes nothing, and the file itself
// is written by a Joiner, which gives it its name only once complete and on the disk. The checks
// and the copy run aside, the window answering meanwhile.
class JoinCommand {
public:
    explicit JoinCommand(MainWindow& main) : m(main) {}

    void uniscifile_Click();

private:
    void join();
    // What to join and where, once the user named the output and agreed to replace a file of
    // that name; nothing when the join stops there, with the reason on the status line.
    std::optional<JoinRequest> chooseOutput(const std::string& folder, std::vector<JoinSource> sources);
    // The selected items of File2, in list order, with their stamps as listed.
    std::vector<JoinSource> selectedSources() const;
    bool isSource(const std::string& output, const std::vector<JoinSource>& sources) const;
    // Runs checks aside; past a tenth of a second the status line says the files are being
    // checked, and shows again what it showed once they are.
    void checkAside(const std::function<void(const std::function<void()>& tick)>& checks);
    // The chosen files are not what the list showed: refused, and the detection runs again on the
    // folder as it is now.
    void refuseChanged();
    // A failure of the join's own steps: its error box, or for a folder another Brenvik held too
    // long the status line, which says so.
    void failed(int number);

    MainWindow& m;
    // The folder the join in progress writes into, once known.
    std::string folder_;
};

} // namespace brenvik
