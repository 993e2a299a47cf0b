#include "playback/play_time.h"

#include "platform/paths.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tralvo::playback {

std::int64_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // 2^63 is exact as a double; anything from there on does not fit.
    constexpr double Limit = 9223372036854775808.0;
    if (value >= Limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -Limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    // The default rounding mode is to nearest, ties to even.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::string FormatPlayTime(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    const std::int64_t minutes = seconds / 60;
    const std::int64_t rest = seconds % 60;
    std::string text = minutes < 10 ? "0" : "";
    text += std::to_string(minutes);
    text += ':';
    text += static_cast<char>('0' + rest / 10);
    text += static_cast<char>('0' + rest % 10);
    return text;
}

std::string PlayStatusText(std::int64_t position, std::int64_t length, const std::string& path) {
    return FormatPlayTime(position) + " (" + FormatPlayTime(length) +
           "): " + std::string(BaseName(path));
}

int PlayBarPosition(std::int64_t position, std::int64_t length) {
    if (length <= 0 || position <= 0) {
        return 0;
    }
    const double fraction = static_cast<double>(position) / static_cast<double>(length);
    // A bar value outside its range would be ignored and leave the bar where it was.
    return static_cast<int>(
        std::clamp<std::int64_t>(RoundHalfEven(fraction * PlayBarMaximum), 0, PlayBarMaximum));
}

std::optional<double> SeekTarget(double length, int x, int barWidth) {
    if (!(length > 0) || barWidth - 2 <= 0) {
        return std::nullopt;
    }
    const double fraction = static_cast<double>(x) / static_cast<double>(barWidth - 2);
    return std::max(length * fraction, 0.0);
}

} // namespace tralvo::playback
