#pragma once

#include <string>

namespace brenvik {

// Ends a split that cannot go on for a reason of its own rather than a file-system failure (the
// source changed under it, a part would land on the source); `status` says why in the status
// line.
struct SplitAbort {
    std::string status;
};

} // namespace brenvik
