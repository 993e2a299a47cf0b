#pragma once

#include "tags/byte_source.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tralvo::tags {

// The header of one Ogg page: 27 fixed bytes and a table of up to 255 lacing values, each the
// size of one segment of the body. A segment of 255 bytes continues its packet; a shorter one
// (0 included) ends it.
struct OggPageHeader {
    static constexpr std::size_t FixedSize = 27;
    static constexpr std::size_t MaxSize = FixedSize + 255;
    static constexpr std::uint8_t Continued = 0x01;     // the first segment continues a packet
    static constexpr std::uint8_t FirstOfStream = 0x02; // beginning of a logical stream
    static constexpr std::uint8_t LastOfStream = 0x04;

    std::uint8_t headerType = 0;
    std::uint64_t granulePosition = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    std::uint32_t crc = 0; // as stored; not checked, since tags are wanted even from a damaged page
    std::uint8_t segmentCount = 0;
    std::array<std::uint8_t, 255> lacing{};

    bool Is(std::uint8_t flag) const { return (headerType & flag) != 0; }
    std::size_t HeaderSize() const { return FixedSize + segmentCount; }
    std::size_t BodySize() const;
    std::span<const std::uint8_t> Lacing() const { return {lacing.data(), segmentCount}; }
};

// The page header at the start of bytes: the capture pattern "OggS", version 0 and the whole
// lacing table must be there.
std::optional<OggPageHeader> ParseOggPageHeader(std::span<const std::uint8_t> bytes);

// The page header at offset in source.
std::optional<OggPageHeader> ReadOggPageHeader(ByteSource& source, std::uint64_t offset);

} // namespace tralvo::tags
