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

    // The source is not what it was when the split opened it: shorter, longer, or rewritten.
    static constexpr const char* SourceChanged = "Split interrotto: il file d'origine è cambiato durante lo split";
};

} // namespace brenvik
