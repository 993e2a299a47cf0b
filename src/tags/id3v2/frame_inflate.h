#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tralvo::tags::id3v2 {

// No compressed frame inflates to more than this: a few bytes of zlib data can claim
// gigabytes, and no text or comment frame needs more. The frame's own stored length is no
// bound: taggers write lengths that are too small or too large, and such frames read (an
// earlier bound of the stored length refused them), so this ceiling alone guards memory.
constexpr std::size_t InflateCeiling = std::size_t{16} << 20;

// The bytes of a zlib stream, or nothing when zlib reports an error, the stream is cut short
// or it would inflate to more than limit bytes. The buffer grows geometrically and never
// beyond limit + 1 bytes.
std::optional<std::vector<std::uint8_t>> InflateFrameData(std::span<const std::uint8_t> compressed,
                                                          std::size_t limit);

} // namespace tralvo::tags::id3v2
