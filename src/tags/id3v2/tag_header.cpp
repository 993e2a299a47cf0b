#include "tags/id3v2/tag_header.h"

#include "tags/id3v2/syncsafe.h"

#include <algorithm>
#include <span>

namespace tralvo::tags::id3v2 {

std::optional<TagHeader> ParseTagHeader(const std::array<std::uint8_t, TagHeaderSize>& bytes) {
    const std::span<const std::uint8_t> sizeBytes(bytes.data() + 6, 4);
    if (bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3' || bytes[3] == 0xFF ||
        bytes[4] == 0xFF ||
        std::any_of(sizeBytes.begin(), sizeBytes.end(), [](std::uint8_t b) { return b >= 0x80; })) {
        return std::nullopt;
    }
    return TagHeader{bytes[3], bytes[4], bytes[5], SyncsafeValue(sizeBytes)};
}

std::uint8_t KnownHeaderFlags(std::uint8_t majorVersion) {
    using namespace header_flag;
    const std::uint8_t common = Unsynchronisation | ExtendedHeader | Experimental;
    return majorVersion == 4 ? static_cast<std::uint8_t>(common | Footer) : common;
}

} // namespace tralvo::tags::id3v2
