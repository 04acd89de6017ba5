#pragma once

#include <string>

namespace brenvik {

// Starts another program from a command line, in a normal window that takes the focus, without
// waiting for it and without reading a result.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void start(const std::string& commandLine) = 0;
};

} // namespace brenvik
