#include "tags/latin1_text.h"

#include <algorithm>

namespace tralvo::tags {

std::string UpToNul(std::span<const std::uint8_t> text) {
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    return std::string(text.begin(), end);
}

std::string Utf16LeToLatin1(std::span<const std::uint8_t> text) {
    std::string latin1;
    latin1.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const unsigned unit = text[i] | (static_cast<unsigned>(text[i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        const bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
        if (highSurrogate && i + 3 < text.size()) {
            const unsigned next = text[i + 2] | (static_cast<unsigned>(text[i + 3]) << 8);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                i += 2; // the pair stands for one character
            }
        }
        latin1.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
    }
    return latin1;
}

} // namespace tralvo::tags
