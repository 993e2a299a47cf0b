// Frame text to one byte per character (ISO-8859-1), by the frame's encoding byte.
#include "tags/id3v2/id3v2_tag.h"

#include <algorithm>
#include <span>

namespace tralvo::tags {

namespace {

using Bytes = std::span<const std::uint8_t>;

struct Decoded {
    std::uint8_t result = id3v2_read::Ok;
    std::size_t consumed = 0; // from the start offset, terminator and byte-order mark included
};

constexpr std::uint8_t LineFeed = 10;
constexpr std::uint8_t CarriageReturn = 13;

// A stopping character of 1 to 31 is a control character the text may not hold.
Decoded ControlCharacter(std::size_t consumed, std::string& text) {
    text.clear();
    return {id3v2_read::BadText, consumed};
}

Decoded DecodeLatin1(Bytes bytes, bool multiLine, std::string& text) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t byte = bytes[i];
        text.push_back(static_cast<char>(byte));
        const bool lineBreak = byte == LineFeed || byte == CarriageReturn;
        if (byte >= 32 || (multiLine && lineBreak)) {
            continue;
        }
        if (!multiLine && byte != 0 && !lineBreak) {
            return ControlCharacter(i + 1, text);
        }
        return {id3v2_read::Ok, i + 1};
    }
    return {id3v2_read::Ok, bytes.size()};
}

// 16-bit units from the start of bytes; CR and LF are control characters here too.
Decoded DecodeUtf16Units(Bytes bytes, bool bigEndian, std::size_t consumedBefore,
                         std::string& text) {
    std::size_t i = 0;
    for (; i + 2 <= bytes.size(); i += 2) {
        const std::uint8_t high = bigEndian ? bytes[i] : bytes[i + 1];
        const std::uint8_t low = bigEndian ? bytes[i + 1] : bytes[i];
        const std::size_t consumed = consumedBefore + i + 2;
        if (high == 0 && low == 0) {
            return {id3v2_read::Ok, consumed};
        }
        if (high != 0) {
            return {id3v2_read::BeyondLatin1, consumed};
        }
        if (low < 32) {
            return ControlCharacter(consumed, text);
        }
        text.push_back(static_cast<char>(low));
    }
    return {id3v2_read::Ok, consumedBefore + i};
}

Decoded DecodeUtf16WithBom(Bytes bytes, std::string& text) {
    if (bytes.size() < 2 ||
        !((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        return ControlCharacter(std::min<std::size_t>(bytes.size(), 2), text);
    }
    return DecodeUtf16Units(bytes.subspan(2), bytes[0] == 0xFE, 2, text);
}

// Only the two-byte forms of U+0080 to U+00FF are understood; a lone continuation byte is
// taken for its low six bits.
Decoded DecodeUtf8(Bytes bytes, std::string& text) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        std::uint8_t character = 0;
        if (lead < 0x80) {
            character = lead;
            i += 1;
        } else if (lead < 0xC0) {
            character = lead & 0x3F;
            i += 1;
        } else if (lead < 0xC4) {
            if (i + 1 >= bytes.size()) {
                return ControlCharacter(bytes.size(), text);
            }
            character = static_cast<std::uint8_t>(((lead & 0x03) << 6) | (bytes[i + 1] & 0x3F));
            i += 2;
        } else {
            return {id3v2_read::BeyondLatin1, i + 1};
        }
        text.push_back(static_cast<char>(character));
        if (character < 32) {
            return character == 0 ? Decoded{id3v2_read::Ok, i} : ControlCharacter(i, text);
        }
    }
    return {id3v2_read::Ok, i};
}

} // namespace

std::uint8_t DecodeFrameText(const FrameRecord& frame, std::size_t startOffset, bool multiLine,
                             std::uint8_t encoding, std::size_t& length, std::string& text) {
    text.clear();
    const std::vector<std::uint8_t>& data = frame.data;
    if (startOffset >= data.size()) {
        return id3v2_read::Empty;
    }
    Bytes bytes = Bytes(data).subspan(startOffset);
    if (length != 0) {
        bytes = bytes.first(std::min(length, bytes.size()));
    }
    Decoded decoded;
    switch (encoding) {
    case 0:
        decoded = DecodeLatin1(bytes, multiLine, text);
        break;
    case 1:
        decoded = DecodeUtf16WithBom(bytes, text);
        break;
    case 2:
        decoded = DecodeUtf16Units(bytes, true, 0, text);
        break;
    case 3:
        decoded = DecodeUtf8(bytes, text);
        break;
    default:
        return id3v2_read::UnknownEncoding;
    }
    if (length == 0) {
        length = decoded.consumed;
    }
    return decoded.result;
}

} // namespace tralvo::tags
