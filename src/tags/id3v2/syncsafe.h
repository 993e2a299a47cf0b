#pragma once

#include <cstdint>
#include <span>

namespace tralvo::tags::id3v2 {

// A syncsafe number: each byte carries seven bits, the first byte the highest. The bytes are
// not masked: a set high bit adds its weight as it stands, as the sizes of version 4 frames
// are read. Five bytes (the extended header's CRC) keep their low 32 bits.
std::uint32_t SyncsafeValue(std::span<const std::uint8_t> bytes);

// A plain big-endian number of up to four bytes.
std::uint32_t BigEndianValue(std::span<const std::uint8_t> bytes);

} // namespace tralvo::tags::id3v2
