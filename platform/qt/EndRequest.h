#pragma once

#include <functional>

class QObject;

namespace brenvik {

// Runs `handler` on the user-interface thread when the system asks the program to end: SIGTERM
// (sent at logout and shutdown, and by `kill`), SIGHUP (the terminal went away) or SIGINT
// (Ctrl+C in the terminal that started it). The handler runs from the event loop, never inside
// the signal, so it may touch the windows. Install once, after the QApplication exists; `owner`
// owns the watcher.
void onEndRequest(QObject& owner, std::function<void()> handler);

} // namespace brenvik
