#include "tags/asf_values.h"

#include "tags/byte_cursor.h"
#include "tags/latin1_text.h"

#include <algorithm>

namespace tralvo::tags {
namespace {

std::uint64_t NumberOf(std::span<const std::uint8_t> value, std::size_t width) {
    return LittleEndian(value.first(std::min(value.size(), width)));
}

} // namespace

std::optional<std::string> AsfValueText(std::uint16_t type, std::span<const std::uint8_t> value) {
    switch (static_cast<AsfValueType>(type)) {
    case AsfValueType::UnicodeString:
        return Utf16LeToLatin1(value);
    case AsfValueType::Bool:
        return std::string(
            std::any_of(value.begin(), value.end(), [](auto b) { return b != 0; }) ? "1" : "0");
    case AsfValueType::Dword:
        return std::to_string(NumberOf(value, 4));
    case AsfValueType::Qword:
        return std::to_string(NumberOf(value, 8));
    case AsfValueType::Word:
        return std::to_string(NumberOf(value, 2));
    case AsfValueType::ByteArray:
    case AsfValueType::Guid:
        break;
    }
    return std::nullopt;
}

} // namespace tralvo::tags
