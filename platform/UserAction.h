#pragma once

#include <functional>

namespace brenvik {

class Platform;

// Runs one user action (a click, a key, a choice) that the toolkit delivered. No exception may
// cross back into the toolkit's event dispatch (Qt's, or a Win32 window procedure): a runtime error the windows' logic
// did not handle itself is reported in a message box, as the runtime reports an untrapped error, and the program
// carries on; the end of the program (ProgramEnded, from a desktop that cannot stop the process) just stops the action.
void runUserAction(Platform& platform, const std::function<void()>& action);

} // namespace brenvik
