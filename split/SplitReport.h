#pragma once

#include <string>

namespace brenvik {

// What the split's steps tell the window as they go: the status line and the progress display.
// The main window implements it; the steps need nothing else of it.
class SplitReport {
public:
    virtual ~SplitReport() = default;

    virtual std::string status() const = 0;
    virtual void setStatus(const std::string& text) = 0;
    // Paints what changed, at most thirty times a second: the split does not yield to the event
    // queue until it ends. paintNow paints at once, for a step the user must see before a wait.
    virtual void paint() = 0;
    virtual void paintNow() = 0;
    // Widens the progress bar's fill by `width` and raises its figure by `figure`.
    virtual void advance(int width, int figure) = 0;
};

} // namespace brenvik
