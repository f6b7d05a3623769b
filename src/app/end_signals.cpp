// SPDX-License-Identifier: MIT
// Session signals (a logout, `kill`, Ctrl+C) handed to the event loop through a socket it watches.
#include "app/end_signals.h"

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/leftovers.h"

namespace kanuvo {

namespace {

// Written by the handler, read on the event loop: the only safe way out of a signal handler.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t ending = 0;

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int number) {
    if (ending != 0) {
        // Asked twice: the game did not end in time, so the signal has its usual effect, once the lock
        // and a half-written file are gone: the clean-up under way may not get to them.
        RemoveLeftoversNow();
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    ending = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

void EndOnSessionSignals(QObject* owner, std::function<void()> end) {
    if (signalPipe[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, end = std::move(end)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        end();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) {
        // Only the hang-up and the interrupt are ignored on purpose by whoever starts a program; a
        // request to end (SIGTERM) is always heard.
        struct sigaction inherited {};
        if (number != SIGTERM && sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(number, &action, nullptr);
    }
}

}  // namespace kanuvo
