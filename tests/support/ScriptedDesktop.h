#pragma once

#include "platform/Desktop.h"
#include "platform/Form.h"
#include "platform/Launcher.h"
#include "support/HeadlessDesktop.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace brenvik {

// A desktop for tests: records every message box, pause, yield, beep and end in `log`, answers
// message boxes from a script, and plays scripted user actions while a window is modal. A
// message box or a modal window the script did not expect fails the test.
class ScriptedDesktop : public HeadlessDesktop {
public:
    ScriptedDesktop() : HeadlessDesktop(std::chrono::milliseconds(1)) {}
    struct Box {
        std::string text;
        int flags = 0;
        std::string title;
    };

    // The next message box is answered with `button` (mb::IdOK ...); `meanwhile`, when given, runs
    // first, as something the user does on the machine while the box is open.
    void answer(int button, std::function<void()> meanwhile = {}) {
        answers_.emplace_back(button, std::move(meanwhile));
    }
    // While the window `formName` is modal, the user does `action` (once per showing, in order).
    void onModal(const std::string& formName, std::function<void(Form&)> action) {
        modals_.emplace_back(formName, std::move(action));
    }

    std::vector<Box> boxes;
    // "box <text>", "pause <ms>", "yield", "beep", "show <form>", "hide <form>", "unload <form>",
    // "end", in the order they happened.
    std::vector<std::string> log;
    std::vector<int> pauses;
    // Runs at every yield, as the user acting while the program waits on the event queue.
    std::function<void()> onYield;
    // Runs at every paint of what changed, as the screen would show it then.
    std::function<void()> onPaint;
    // Runs over and over on this thread while work runs aside, as the user acting meanwhile.
    std::function<void()> onBusy;

    // How often `entry` stands in the log.
    int count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void formShown(Form& form) override { log.push_back("show " + form.name()); }
    void formHidden(Form& form) override { log.push_back("hide " + form.name()); }
    void formUnloaded(Form& form) override { log.push_back("unload " + form.name()); }
    void runModal(Form& form) override;
    void yield() override {
        log.emplace_back("yield");
        if (onYield)
            onYield();
    }
    void pause(int milliseconds) override {
        log.push_back("pause " + std::to_string(milliseconds));
        pauses.push_back(milliseconds);
    }
    void beep() override { log.emplace_back("beep"); }
    [[noreturn]] void endProgram() override {
        log.emplace_back("end");
        throw ProgramEnded{};
    }

protected:
    void paintPending() override {
        if (onPaint)
            onPaint();
    }
    // While work runs aside: what it posted, a paint of what that changed, and the user's doing,
    // about every millisecond.
    void eachTurn() override {
        refresh();
        if (onBusy)
            onBusy();
    }

private:
    std::deque<std::pair<int, std::function<void()>>> answers_;
    std::deque<std::pair<std::string, std::function<void(Form&)>>> modals_;
};

// Thrown when the script meets something it did not expect, to stop the handler at once; not a
// std::exception, which the program's handlers would catch and report.
struct UnexpectedInTest {};

class RecordingLauncher : public Launcher {
public:
    void openFolder(const std::string& folder) override { opened.push_back(folder); }
    std::vector<std::string> opened;
};

} // namespace brenvik
