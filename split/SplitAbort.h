#pragma once

#include <stdexcept>
#include <string>

namespace brenvik {

// Ends a split that cannot go on for a reason of its own rather than a file-system failure (the
// source changed under it, a part would land on the source); what() is the status line that says
// why.
class SplitAbort : public std::runtime_error {
public:
    explicit SplitAbort(const std::string& status) : std::runtime_error(status) {}
};

} // namespace brenvik
