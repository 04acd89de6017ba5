#pragma once

#include "join/AppendCopy.h"
#include "platform/Files.h"

#include <memory>
#include <string>
#include <vector>

namespace brenvik {

// What is joined, and where: the sources in the order they are joined, the output's path, and
// whether the user agreed to replace a file of that name.
struct JoinRequest {
    std::vector<std::string> sources;
    std::string output;
    bool replacing = false;
};

// The join's files: the output, written aside from the sources in order and given its name only
// once complete and on the disk, so that a join that fails or is killed leaves the name as it was,
// and a link of that name is replaced, never written through. Anything not committed is discarded
// with the object.
class Joiner {
public:
    Joiner(Files& files, JoinRequest request) : files_(files), request_(std::move(request)) {}

    // Creates the output aside; fails as creating the output itself would.
    void open();
    // Copies the sources into it, puts it on the disk and names it. A source written to or
    // replaced since it was opened (a split naming its set in that folder, a download still
    // running) fails with 55: the joined file would hold bytes of before and after.
    void write();

private:
    Files& files_;
    JoinRequest request_;
    AppendCopy copier_;
    std::unique_ptr<NewFile> output_;
};

} // namespace brenvik
