#pragma once

#include <string>

namespace brenvik {

// Opens a folder in the system's file manager (the file explorer on Windows), in a normal window
// that takes the focus, without waiting for it and without reading a result.
class Launcher {
public:
    virtual ~Launcher() = default;
    // `folder` is a Windows path text; an empty one is the root of c:.
    virtual void openFolder(const std::string& folder) = 0;
};

} // namespace brenvik
