#include "support/ScriptedDesktop.h"

#include <gtest/gtest.h>

namespace brenvik {

int ScriptedDesktop::messageBox(const std::string& text, int flags, const std::string& title) {
    log.push_back("box " + text);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text << "\" (title \"" << title << "\")";
        throw UnexpectedInTest{};
    }
    auto [a, meanwhile] = std::move(answers_.front());
    answers_.pop_front();
    boxes.push_back({text, flags, title});
    if (meanwhile)
        meanwhile();
    return a;
}

void ScriptedDesktop::runModal(Form& form) {
    while (form.visible()) {
        if (modals_.empty() || modals_.front().first != form.name()) {
            ADD_FAILURE() << "unexpected modal window: " << form.name()
                          << (modals_.empty() ? std::string() : " (the script expected " + modals_.front().first + ")");
            throw UnexpectedInTest{};
        }
        auto action = std::move(modals_.front().second);
        modals_.pop_front();
        action(form);
    }
}

} // namespace brenvik
