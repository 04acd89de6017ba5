#pragma once

#include "join/AppendCopy.h"
#include "platform/Files.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

// A file chosen to be joined: its path, and its stamp when the list showed it.
struct JoinSource {
    std::string path;
    FileStamp listed;
};

// What is joined, and where: the sources in the order they are joined, the output's path, and
// whether the user agreed to replace a file of that name.
struct JoinRequest {
    std::vector<JoinSource> sources;
    std::string output;
    bool replacing = false;
};

// Thrown when a chosen file is not what the list showed: written to, replaced or rewritten since,
// or while it was copied. The joined file would hold something the user did not choose.
struct SourcesChanged {};

// The join's files: the output, written aside from the sources in order and given its name only
// once complete and on the disk, so that a join that fails or is killed leaves the name as it was,
// and a link of that name is replaced, never written through. Anything not committed is discarded
// with the object.
class Joiner {
public:
    Joiner(Files& files, JoinRequest request) : files_(files), request_(std::move(request)) {}

    // Creates the output aside; fails as creating the output itself would.
    void open();
    // Copies the sources into it, puts it on the disk and names it, holding the folder against
    // other runs' commits (`waiting` runs while another holds it, and may throw to give up). A
    // source that is not as the list showed it, when it is opened or once all are copied (a split
    // naming its set in that folder, a download still running, a rewrite of the same length),
    // throws SourcesChanged. `checkpoint` runs between blocks and may throw to stop.
    void write(const std::function<void()>& waiting, const std::function<void()>& checkpoint);

private:
    Files& files_;
    JoinRequest request_;
    AppendCopy copier_;
    std::unique_ptr<NewFile> output_;
};

} // namespace brenvik
