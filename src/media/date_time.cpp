#include "media/sound_file.h"

#include <cmath>

namespace tralvo::media {

namespace {

constexpr std::int64_t MsPerDay = 86'400'000;
constexpr std::int64_t UnitsPerMs = 10'000; // file times count 100 ns
// Days from 1 January 1601, where file times start, to 30 December 1899, day 0.
constexpr std::int64_t DaysFrom1601 = 109'205;

} // namespace

// A date-time before day 0 keeps its time of day as a positive fraction taken away from the
// (negative) day: -1.25 is 29 December 1899, 06:00.
DateTime FileTimeToDateTime(FileTime time) {
    const auto ms = static_cast<std::int64_t>(time / UnitsPerMs);
    const std::int64_t day = ms / MsPerDay - DaysFrom1601;
    const double fraction = static_cast<double>(ms % MsPerDay) / static_cast<double>(MsPerDay);
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

FileTime DateTimeToFileTime(DateTime time) {
    if (!std::isfinite(time) || std::fabs(time) > 3e6) {
        return 0;
    }
    auto day = static_cast<std::int64_t>(std::trunc(time));
    auto ms = static_cast<std::int64_t>(
        std::llround(std::fabs(time - static_cast<double>(day)) * static_cast<double>(MsPerDay)));
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        ++day;
    }
    const std::int64_t daysSince1601 = day + DaysFrom1601;
    if (daysSince1601 < 0) {
        return 0; // before the start of file times
    }
    return static_cast<FileTime>((daysSince1601 * MsPerDay + ms) * UnitsPerMs);
}

} // namespace tralvo::media
