#pragma once

#include "tags/byte_source.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tralvo::tags {

using AsfGuid = std::array<std::uint8_t, 16>;

// A GUID as ASF stores it: the first three groups little-endian, the last eight bytes in order.
constexpr AsfGuid MakeAsfGuid(std::uint32_t a, std::uint16_t b, std::uint16_t c, std::uint64_t d) {
    AsfGuid guid{};
    for (std::size_t i = 0; i < 4; ++i) {
        guid[i] = static_cast<std::uint8_t>(a >> (8 * i));
    }
    for (std::size_t i = 0; i < 2; ++i) {
        guid[4 + i] = static_cast<std::uint8_t>(b >> (8 * i));
        guid[6 + i] = static_cast<std::uint8_t>(c >> (8 * i));
    }
    for (std::size_t i = 0; i < 8; ++i) {
        guid[8 + i] = static_cast<std::uint8_t>(d >> (8 * (7 - i)));
    }
    return guid;
}

namespace asf {
inline constexpr AsfGuid HeaderObject = MakeAsfGuid(0x75B22630, 0x668E, 0x11CF, 0xA6D900AA0062CE6C);
inline constexpr AsfGuid ContentDescription =
    MakeAsfGuid(0x75B22633, 0x668E, 0x11CF, 0xA6D900AA0062CE6C);
inline constexpr AsfGuid ExtendedContentDescription =
    MakeAsfGuid(0xD2D0A440, 0xE307, 0x11D2, 0x97F000A0C95EA850);
inline constexpr AsfGuid HeaderExtension =
    MakeAsfGuid(0x5FBF03B5, 0xA92E, 0x11CF, 0x8EE300C00C205365);
inline constexpr AsfGuid Metadata = MakeAsfGuid(0xC5F8CBEA, 0x5BAF, 0x4877, 0x8467AA8C44FA4CCA);
inline constexpr AsfGuid MetadataLibrary =
    MakeAsfGuid(0x44231C94, 0x9498, 0x49D1, 0xA1411D134E457054);
} // namespace asf

// One object: a GUID, a 64-bit size that counts the 24 bytes of GUID and size, and a body.
struct AsfObject {
    static constexpr std::size_t HeaderSize = 24;
    AsfGuid guid{};
    std::span<const std::uint8_t> body;
};

// The objects laid end to end in bytes, in order, up to the first whose size is below 24 or
// passes the end (after which nothing can be trusted).
std::vector<AsfObject> SplitAsfObjects(std::span<const std::uint8_t> bytes);

// The bytes of the header object after its 30-byte preamble (GUID, size, object count, two
// reserved bytes): the area its child objects fill. At most maxSize bytes are read; a header
// cut short by the end of the file gives what there is. Nothing when the source does not begin
// with the header object. The object count is not used: the children are found by their sizes.
std::optional<std::vector<std::uint8_t>> ReadAsfHeaderChildren(ByteSource& source,
                                                               std::size_t maxSize = 16u << 20);

} // namespace tralvo::tags
