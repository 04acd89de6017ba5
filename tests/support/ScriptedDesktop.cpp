#include "support/ScriptedDesktop.h"

#include "platform/Form.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brenvik {

void ScriptedDesktop::answer(int button, std::function<void()> meanwhile) {
    answers_.emplace_back(button, std::move(meanwhile));
}

void ScriptedDesktop::onModal(const std::string& formName, std::function<void(Form&)> action) {
    modals_.emplace_back(formName, std::move(action));
}

int ScriptedDesktop::count(const std::string& entry) const {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

int ScriptedDesktop::messageBox(const std::string& text, int flags, const std::string& title) {
    log.push_back("box " + text);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text << "\" (title \"" << title << "\")";
        throw UnexpectedInTest{"message box " + text};
    }
    auto [a, meanwhile] = std::move(answers_.front());
    answers_.pop_front();
    boxes.push_back({text, flags, title, a});
    if (meanwhile)
        meanwhile();
    return a;
}

void ScriptedDesktop::formShown(Form& form) {
    log.push_back("show " + form.name());
}
void ScriptedDesktop::formHidden(Form& form) {
    log.push_back("hide " + form.name());
}
void ScriptedDesktop::formUnloaded(Form& form) {
    log.push_back("unload " + form.name());
}

void ScriptedDesktop::runModal(Form& form) {
    while (form.visible()) {
        if (modals_.empty() || modals_.front().first != form.name()) {
            ADD_FAILURE() << "unexpected modal window: " << form.name()
                          << (modals_.empty() ? std::string() : " (the script expected " + modals_.front().first + ")");
            throw UnexpectedInTest{"modal " + form.name()};
        }
        auto action = std::move(modals_.front().second);
        modals_.pop_front();
        action(form);
    }
}

void ScriptedDesktop::yield() {
    log.emplace_back("yield");
    if (onYield)
        onYield();
}

void ScriptedDesktop::pause(int milliseconds) {
    log.push_back("pause " + std::to_string(milliseconds));
    pauses.push_back(milliseconds);
}

void ScriptedDesktop::beep() {
    log.emplace_back("beep");
}

void ScriptedDesktop::endProgram() {
    log.emplace_back("end");
    throw ProgramEnded{};
}

} // namespace brenvik
