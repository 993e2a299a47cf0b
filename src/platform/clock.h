#pragma once

#include "platform/file_system.h"

namespace tralvo {

// The time of day, as file times count it, and waiting for a moment to come: a seam, so that
// tests of runs that wait for the clock need not wait.
class Clock {
public:
    virtual ~Clock() = default;
    virtual FileTime Now() = 0;
    // Returns once Now() has reached moment.
    virtual void SleepUntil(FileTime moment) = 0;
};

// The system's clock.
Clock& SystemClock();

} // namespace tralvo
