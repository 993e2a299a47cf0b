#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tralvo::media::id3v2 {

// No compressed frame inflates to more than this: a few bytes of zlib data can claim
// gigabytes, and no text or comment frame needs more.
constexpr std::size_t InflateCeiling = std::size_t{16} << 20;

// The most a compressed frame may inflate to: its declared data length when it has one (never
// above the ceiling), else the ceiling.
std::size_t InflateLimit(std::uint32_t declaredLength);

// The bytes of a zlib stream, or nothing when zlib reports an error, the stream is cut short
// or it would inflate to more than limit bytes.
std::optional<std::vector<std::uint8_t>> InflateFrameData(std::span<const std::uint8_t> compressed,
                                                          std::size_t limit);

} // namespace tralvo::media::id3v2
