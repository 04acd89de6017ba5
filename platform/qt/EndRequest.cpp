#include "platform/qt/EndRequest.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace brenvik {

namespace {

// The writing end of the pipe from the signal handler to the event loop. A signal handler may
// only do async-signal-safe work: it writes one byte, and the loop does the rest.
int signalWriteEnd = -1;

extern "C" void noteEndSignal(int) {
    const char byte = 1;
    // Nothing can be done about a full pipe here, and one byte already waiting is enough.
    [[maybe_unused]] ssize_t written = ::write(signalWriteEnd, &byte, 1);
}

} // namespace

void onEndRequest(QObject& owner, std::function<void()> handler) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
        return;
    signalWriteEnd = ends[0];
    auto* notifier = new QSocketNotifier(ends[1], QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, handler = std::move(handler)] {
        char byte;
        [[maybe_unused]] ssize_t got = ::read(static_cast<int>(notifier->socket()), &byte, 1);
        handler();
    });
    struct sigaction action {};
    action.sa_handler = noteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

} // namespace brenvik
