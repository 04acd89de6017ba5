#pragma once

#include "platform/Control.h"
#include "platform/Form.h"
#include "support/ScriptedDesktop.h"
#include "support/TestApp.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace brenvik::dialogtest {

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

// A scripted desktop that also lets the test act while the program yields to the event queue,
// as a user does during an animation.
class YieldingDesktop : public ScriptedDesktop {
public:
    std::function<void(int yields)> onYield;
    int yields = 0;
    void yield() override {
        ScriptedDesktop::yield();
        ++yields;
        if (onYield)
            onYield(yields);
    }
};

// The main window of a returning user on a YieldingDesktop.
struct YieldingApp {
    TestApp app;
    YieldingDesktop desktop;
    Platform platform{desktop, app.drives.fs(), app.settings, app.launcher};
    MainWindow& m = app.startIn("c:\\", &platform);
    ~YieldingApp() { app.stop(); }

    // Clicks `button`; at the `at`-th yield after it the user closes `dialog` from its frame, as
    // during an animation. Only the pauses made meanwhile are left in desktop.pauses.
    void clickAndCloseAt(CommandButton& button, Form& dialog, int at) {
        desktop.pauses.clear();
        desktop.yields = 0;
        desktop.onYield = [&dialog, at](int yields) {
            if (yields == at)
                dialog.userClose();
        };
        button.click();
    }
};

} // namespace brenvik::dialogtest
