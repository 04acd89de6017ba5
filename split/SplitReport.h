#pragma once

#include <cstdint>
#include <string>

namespace brenvik {

// What the split's steps tell the window as they go: the status line, the progress display, the
// source's size measured again, and the files written. The main window implements it on the
// user-interface thread, and PostedSplitReport for the steps that run aside; the split needs
// nothing else of it.
class SplitReport {
public:
    virtual ~SplitReport() = default;

    virtual std::string status() const = 0;
    virtual void setStatus(const std::string& text) = 0;
    // Between two steps of the copy: throws WorkStopped once the user has asked the program to end.
    virtual void checkpoint() = 0;
    // Widens the progress bar's fill by `width` and raises its figure by `figure`.
    virtual void advance(int width, int figure) = 0;
    // The progress display: fill width (0 to 4000) and figure, always together.
    virtual void setProgress(int width, const std::string& figure) = 0;
    // The source, measured again at the split, has `size` bytes now, not what it had when it
    // was selected.
    virtual void sourceResized(int64_t size) = 0;
    // Files were written into the destination: the file list shows what is there now. Throws
    // nothing.
    virtual void folderWritten() = 0;
};

} // namespace brenvik
