#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tralvo::playback {

// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4). Values
// beyond the 64-bit range are held at its ends; NaN gives 0.
std::int64_t RoundHalfEven(double value);

// The status line's time: minutes with at least two digits and no hours field, then the
// seconds as two digits (225 gives "03:45", 6005 gives "100:05"). Negative counts show as 0.
std::string FormatPlayTime(std::int64_t seconds);

// "01:05 (03:45): Track.mp3": the position, the length and the file-name part of path.
std::string PlayStatusText(std::int64_t position, std::int64_t length, const std::string& path);

// The position bar's value, 0..PlayBarMaximum, for a position of a length in whole seconds. A
// file shorter than half a second has a length of 0 and shows the bar at 0.
constexpr int PlayBarMaximum = 1000;
int PlayBarPosition(std::int64_t position, std::int64_t length);

// The position in seconds that a press at x on a bar of barWidth pixels seeks to in a stream
// of length seconds: x / (barWidth - 2) of the length, the bar's border excluded. Nothing when
// the stream has no length or the bar is too narrow to point into.
std::optional<double> SeekTarget(double length, int x, int barWidth);

} // namespace tralvo::playback
