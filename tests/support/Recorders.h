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

// Writes "size <width>x<height>" into `log` at every change of the window's outer size.
class SizeRecorder : public FormView {
public:
    SizeRecorder(Form& form, std::vector<std::string>& log) : form_(form), log_(log) { form_.setView(this); }
    ~SizeRecorder() override { form_.setView(nullptr); }
    void formChanged(Property what) override {
        if (what == Property::Geometry)
            log_.push_back("size " + std::to_string(form_.outerWidth()) + "x" + std::to_string(form_.outerHeight()));
    }

private:
    Form& form_;
    std::vector<std::string>& log_;
};

} // namespace brenvik
