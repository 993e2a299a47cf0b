#pragma once

#include "tags/id3v2/tag_ring.h"

#include <cstdint>

namespace tralvo::tags::id3v2 {

namespace extended_flag {
constexpr std::uint8_t Update = 0x40;
constexpr std::uint8_t Crc = 0x20;
constexpr std::uint8_t Restrictions = 0x10;
} // namespace extended_flag

struct ExtendedHeader {
    std::uint32_t size = 0;        // as stored
    std::uint8_t flags = 0;        // extended_flag bits; version 3 has only Crc
    std::uint32_t paddingSize = 0; // declared by version 3
    std::uint32_t crc = 0;         // never verified
    std::uint8_t restrictions = 0; // version 4, not applied
    std::uint16_t warnings = 0;
    std::uint16_t error = 0; // nonzero: the tag cannot be read on; the fields read so far stay
};

// The extended header at the start of the body, read when the header flag announces it and
// more than 10 (version 3) or 6 (version 4) bytes remain; throw FileFailure.
ExtendedHeader ReadExtendedHeaderV3(TagRing& ring);
ExtendedHeader ReadExtendedHeaderV4(TagRing& ring);

} // namespace tralvo::tags::id3v2
