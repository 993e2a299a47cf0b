#pragma once

#include <chrono>
#include <thread>

namespace tralvo::test {

// Real-time checks get slack for a loaded machine and for the sanitizers.
constexpr double TimeSlackSeconds = 0.15;

inline void Wait(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
}

} // namespace tralvo::test
