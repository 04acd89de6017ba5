#pragma once

#include "split/SplitReport.h"

#include <string>

namespace brenvik {

class Desktop;

// The report of the split's steps that run aside: each call runs on the window's report, on the
// user-interface thread, in order (Desktop::post). The status is also kept here, as this side set
// it last, for the steps that read it back.
class PostedSplitReport : public SplitReport {
public:
    // Made on the user-interface thread, where the window's status line is read.
    PostedSplitReport(Desktop& desktop, SplitReport& window);

    std::string status() const override { return status_; }
    void setStatus(const std::string& text) override;
    void checkpoint() override;
    void advance(int width, int figure) override;
    void setProgress(int width, const std::string& figure) override;
    void sourceResized(int64_t size) override;
    void folderWritten() override;

private:
    Desktop& desktop_;
    SplitReport& window_;
    std::string status_;
};

} // namespace brenvik
