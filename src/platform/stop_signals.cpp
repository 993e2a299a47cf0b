#include "platform/stop_signals.h"

#include <atomic>

namespace tralvo {

namespace {

constexpr int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void AskToStop(int signal) {
    if (stopRequested.exchange(true)) {
        // Asked twice: the user means it.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

} // namespace

StopSignalsDuringRun::StopSignalsDuringRun() {
    ClearRunStop();
    struct sigaction action {};
    action.sa_handler = AskToStop;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the run notices the request between its steps.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        sigaction(StopSignals[i], &action, &previous_[i]);
    }
}

StopSignalsDuringRun::~StopSignalsDuringRun() {
    for (int i = 0; i < 3; ++i) {
        sigaction(StopSignals[i], &previous_[i], nullptr);
    }
}

bool RunStopRequested() {
    return stopRequested.load();
}

void RequestRunStop() {
    stopRequested.store(true);
}

void ClearRunStop() {
    stopRequested.store(false);
}

} // namespace tralvo
