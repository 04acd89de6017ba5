#include "split/PostedSplitReport.h"

#include "platform/Desktop.h"

namespace brenvik {

PostedSplitReport::PostedSplitReport(Desktop& desktop, SplitReport& window)
    : desktop_(desktop), window_(window), status_(window.status()) {}

void PostedSplitReport::setStatus(const std::string& text) {
    status_ = text;
    desktop_.post([this, text] { window_.setStatus(text); });
}

void PostedSplitReport::checkpoint() {
    desktop_.throwIfStopped();
}

void PostedSplitReport::advance(int width, int figure) {
    desktop_.post([this, width, figure] { window_.advance(width, figure); });
}

void PostedSplitReport::setProgress(int width, const std::string& figure) {
    desktop_.post([this, width, figure] { window_.setProgress(width, figure); });
}

void PostedSplitReport::sourceResized(int64_t size) {
    desktop_.post([this, size] { window_.sourceResized(size); });
}

void PostedSplitReport::folderWritten() {
    desktop_.post([this] { window_.folderWritten(); });
}

} // namespace brenvik
