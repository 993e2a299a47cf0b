#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tralvo::tags {

// The value types of ASF attributes, as the extended content description and the metadata
// objects number them.
enum class AsfValueType : std::uint16_t {
    UnicodeString = 0,
    ByteArray = 1,
    Bool = 2,
    Dword = 3,
    Qword = 4,
    Word = 5,
    Guid = 6,
};

// An attribute value as text: strings converted to Latin-1, numbers in decimal, a BOOL as "1"
// (any bits set) or "0". A number stored in fewer bytes than its type takes is read from the
// bytes there are. Nothing for byte arrays (cover art and other binary data), GUIDs and unknown
// types.
std::optional<std::string> AsfValueText(std::uint16_t type, std::span<const std::uint8_t> value);

} // namespace tralvo::tags
