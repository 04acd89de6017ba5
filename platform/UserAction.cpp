#include "platform/UserAction.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <exception>
#include <string>

namespace brenvik {

namespace {

void report(Platform& platform, const std::string& text) {
    try {
        platform.msgBox(text, mb::OK | mb::Critical);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

} // namespace

void runUserAction(Platform& platform, const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        report(platform, "Errore di run-time '" + std::to_string(e.number()) + "':\r\n\r\n" + e.description());
    } catch (const ProgramEnded&) {
        // The program is over; nothing more runs.
    } catch (const std::exception& e) {
        report(platform, std::string("Errore di run-time:\r\n\r\n") + e.what());
    } catch (...) {
        // Whatever else was thrown must not unwind through the toolkit's dispatch either.
        report(platform, "Errore di run-time");
    }
}

} // namespace brenvik
