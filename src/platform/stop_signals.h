#pragma once

#include <csignal>

namespace tralvo {

// While one of these lives, SIGINT, SIGTERM and SIGHUP do not end the process but ask the run
// to stop at its next safe point (RunStopRequested); a second such signal has its usual effect
// at once. Outside its life the signals are handled as before.
class StopSignalsDuringRun {
public:
    StopSignalsDuringRun();
    ~StopSignalsDuringRun();
    StopSignalsDuringRun(const StopSignalsDuringRun&) = delete;
    StopSignalsDuringRun& operator=(const StopSignalsDuringRun&) = delete;

private:
    struct sigaction previous_[3] = {};
};

// Whether a signal (or a test) asked the run going on to stop.
bool RunStopRequested();
void RequestRunStop();
void ClearRunStop();

} // namespace tralvo
