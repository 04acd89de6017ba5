#pragma once

#include "platform/Desktop.h"

#include <map>
#include <memory>

class QApplication;
class QEventLoop;

namespace brenvik {

class QtFormView;

// The desktop on Qt: message boxes with Italian button captions, one top-level window per form
// (created when the form is first shown), modal windows as nested event loops, and the event
// queue, time and sound of the user-interface thread.
class QtDesktop : public Desktop {
public:
    QtDesktop();
    ~QtDesktop() override;
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    // The look every window shares: one style and palette whatever the host's theme, the default
    // dialog font, the program's icon, Qt's own texts in Italian. Call once, after the
    // QApplication exists.
    static void prepareApplication(QApplication& app);

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void formShown(Form& form) override;
    void formHidden(Form& form) override;
    void formUnloaded(Form& form) override;
    // A window shown while another is active is application-modal; this loop runs until the
    // form is hidden or unloaded.
    void runModal(Form& form) override;
    void yield() override;
    void pause(int milliseconds) override;
    void pauseAnswering(int milliseconds) override;
    void beep() override;
    [[noreturn]] void endProgram() override;

    // The window of a form, created on first use.
    QtFormView& view(Form& form);
    // The window of a form, or null when it was never shown.
    QtFormView* existingView(const Form& form) const;

protected:
    void paintPending() override;
    void handleEventsUntil(const std::function<bool()>& done) override;
    void wake() override;

private:
    void leave(Form& form);

    std::map<const Form*, std::unique_ptr<QtFormView>> views_;
    std::map<const Form*, QEventLoop*> loops_;
};

} // namespace brenvik
