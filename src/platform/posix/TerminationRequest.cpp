// Termination requests on POSIX: SIGTERM, SIGINT and SIGHUP, handed to the event loop through
// a socket pair, since a signal handler may do almost nothing itself.
#include "TerminationRequest.h"

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <utility>

#include <QSocketNotifier>

namespace Platform {

namespace {

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t requests = 0;

extern "C" void OnSignal(int signal) {
    if (requests != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);  // asked twice: end at once
        return;
    }
    requests = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

void OnTerminationRequest(QObject* owner, std::function<void()> callback) {
    if (signalPipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [callback = std::move(callback)] {
                         char byte;
                         [[maybe_unused]] const ssize_t got = read(signalPipe[0], &byte, 1);
                         callback();
                     });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

}  // namespace Platform
