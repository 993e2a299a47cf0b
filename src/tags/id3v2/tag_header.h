#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tralvo::tags::id3v2 {

constexpr std::size_t TagHeaderSize = 10;

namespace header_flag {
constexpr std::uint8_t Unsynchronisation = 0x80;
constexpr std::uint8_t ExtendedHeader = 0x40;
constexpr std::uint8_t Experimental = 0x20;
constexpr std::uint8_t Footer = 0x10; // version 4 only
} // namespace header_flag

struct TagHeader {
    std::uint8_t majorVersion = 0;
    std::uint8_t revision = 0;
    std::uint8_t flags = 0;     // as stored, unknown bits included
    std::uint32_t bodySize = 0; // bytes after the header, a footer not counted
};

// The header when the bytes are one: "ID3", a version and a revision below 0xFF and four size
// bytes below 0x80. Any version is accepted here.
std::optional<TagHeader> ParseTagHeader(const std::array<std::uint8_t, TagHeaderSize>& bytes);

// The header flags a version defines.
std::uint8_t KnownHeaderFlags(std::uint8_t majorVersion);

} // namespace tralvo::tags::id3v2
