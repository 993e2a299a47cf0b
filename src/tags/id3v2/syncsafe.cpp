#include "tags/id3v2/syncsafe.h"

namespace tralvo::tags::id3v2 {

std::uint32_t SyncsafeValue(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 7) + byte;
    }
    return static_cast<std::uint32_t>(value);
}

std::uint32_t BigEndianValue(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

} // namespace tralvo::tags::id3v2
