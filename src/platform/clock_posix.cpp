#include "platform/clock.h"

#include <cerrno>
#include <ctime>

namespace tralvo {
namespace {

// FILETIME counts 100-nanosecond units from 1601-01-01, 11644473600 seconds before 1970.
constexpr FileTime EpochOffset = 116444736000000000ULL;
constexpr FileTime UnitsPerSecond = 10'000'000;

class RealClock final : public Clock {
public:
    FileTime Now() override {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return EpochOffset + static_cast<FileTime>(now.tv_sec) * UnitsPerSecond +
               static_cast<FileTime>(now.tv_nsec) / 100;
    }
    void SleepUntil(FileTime moment) override {
        if (moment < EpochOffset) {
            return;
        }
        const FileTime since = moment - EpochOffset;
        timespec until{};
        until.tv_sec = static_cast<time_t>(since / UnitsPerSecond);
        until.tv_nsec = static_cast<long>(since % UnitsPerSecond) * 100;
        while (::clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
    }
};

} // namespace

Clock& SystemClock() {
    static RealClock clock;
    return clock;
}

} // namespace tralvo
