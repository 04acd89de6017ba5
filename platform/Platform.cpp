#include "platform/Platform.h"

#include "platform/Desktop.h"
#include "platform/Form.h"

namespace brenvik {

namespace {

// The windows open when it was made take no input but on the controls that answer while busy,
// until it goes; a window opened meanwhile (About, a question) works as usual.
class HeldInput {
public:
    explicit HeldInput(const std::vector<Form*>& forms) {
        for (Form* form : forms)
            if (!form->inputHeld()) {
                form->holdInput(true);
                held_.push_back(form);
            }
    }
    ~HeldInput() {
        for (Form* form : held_)
            form->holdInput(false);
    }
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

private:
    std::vector<Form*> held_;
};

} // namespace

int Platform::msgBox(const std::string& text, int flags, const std::string& title) {
    return desktop.messageBox(text, flags, title.empty() ? std::string(ApplicationTitle) : title);
}

void Platform::runAside(const std::function<void()>& work) {
    const HeldInput held(activeForms);
    // The progress shown beside the window goes with the work, however it ends; a listing read
    // aside in the middle of a split leaves the split's.
    struct ClearProgress {
        Desktop& desktop;
        bool outermost;
        ~ClearProgress() {
            if (outermost)
                desktop.showProgress(0, 0);
        }
    } clear{desktop, !desktop.busy()};
    desktop.runAside(work);
}

void Platform::answerWhileWaiting() {
    const HeldInput held(activeForms);
    desktop.yield();
}

void Platform::pauseAnswering(int milliseconds) {
    desktop.pauseAnswering(milliseconds);
}

} // namespace brenvik
