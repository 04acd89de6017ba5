#pragma once

#include "join/AppendCopy.h"
#include "platform/Files.h"

#include <memory>
#include <string>
#include <vector>

namespace brenvik {

class File;
class MainWindow;

// "Unisci": the selected files of File2, in list order, into one new file in the destination
// folder of the settings, named through the dialog `nomefile`.
//
// Beyond the plain copy it guards the user's files: an output that is one of the sources is
// refused, an existing output is replaced only after a Yes (and then holds exactly the joined
// bytes), closing the dialog from its frame writes nothing, and the output is written aside and
// takes its name only once complete and on the disk, so that a join that fails or is killed
// leaves the name as it was.
class JoinCommand {
public:
    explicit JoinCommand(MainWindow& main);
    ~JoinCommand();
    JoinCommand(const JoinCommand&) = delete;
    JoinCommand& operator=(const JoinCommand&) = delete;

    void uniscifile_Click();

private:
    void join();
    // Full paths of the selected items of File2, in list order.
    std::vector<std::string> selectedSources() const;
    bool isSource(const std::string& output, const std::vector<std::string>& sources) const;
    // Closes whatever a join left open and discards the output it was writing, if any.
    void abandonOutput();

    MainWindow& m;
    AppendCopy copier_;
    // The output being written, until it takes its name.
    std::unique_ptr<NewFile> output_;
    std::unique_ptr<File> source_;
};

} // namespace brenvik
