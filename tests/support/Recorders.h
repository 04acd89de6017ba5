#pragma once

#include "platform/Control.h"
#include "platform/Form.h"

#include <functional>
#include <string>
#include <vector>

namespace brenvik {

// Watches one control and writes what `describe` says about it into `log` at every change of
// the given property, so that the changes interleave with the desktop's own entries.
class ControlRecorder : public ControlView {
public:
    ControlRecorder(Control& control, Property watched, std::vector<std::string>& log,
                    std::function<std::string()> describe)
        : control_(control), watched_(watched), log_(log), describe_(std::move(describe)) {
        control_.setView(this);
    }
    ~ControlRecorder() override { control_.setView(nullptr); }
    void changed(Property what) override {
        if (what == watched_)
            log_.push_back(describe_());
    }

private:
    Control& control_;
    Property watched_;
    std::vector<std::string>& log_;
    std::function<std::string()> describe_;
};

} // namespace brenvik
