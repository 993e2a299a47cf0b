#include "tags/id3v2/frame_header.h"

#include "tags/id3v2/syncsafe.h"

#include <algorithm>

namespace tralvo::tags::id3v2 {

namespace {

// Version 3 format flag bits.
constexpr std::uint8_t V3Compression = 0x80;
constexpr std::uint8_t V3Encryption = 0x40;
constexpr std::uint8_t V3Grouping = 0x20;

bool IsIdCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

bool StartsPadding(std::span<const std::uint8_t> header) {
    if (std::all_of(header.begin(), header.end(), [](std::uint8_t b) { return b == 0; })) {
        return true;
    }
    return header.size() >= 4 && header[0] == 'M' && header[1] == 'P' && header[2] == '3' &&
           header[3] == 'e';
}

std::optional<std::string> ReadFrameId(std::span<const std::uint8_t, FrameHeaderSize> header) {
    std::string id(header.begin(), header.begin() + 4);
    for (char& c : id) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (!IsIdCharacter(c)) {
            return std::nullopt;
        }
    }
    return id;
}

std::uint32_t ReadFrameSize(std::span<const std::uint8_t, FrameHeaderSize> header,
                            std::uint8_t majorVersion) {
    const std::span<const std::uint8_t> size = header.subspan(4, 4);
    return majorVersion == 3 ? BigEndianValue(size) : SyncsafeValue(size);
}

FrameFlags ReadFrameFlags(std::span<const std::uint8_t, FrameHeaderSize> header,
                          std::uint8_t majorVersion) {
    if (majorVersion != 3) {
        return {header[8], header[9]};
    }
    FrameFlags flags;
    flags.status = static_cast<std::uint8_t>(header[8] >> 1);
    const std::uint8_t v3 = header[9];
    if ((v3 & V3Grouping) != 0) {
        flags.format |= FrameRecord::Grouping;
    }
    if ((v3 & V3Compression) != 0) {
        flags.format |= FrameRecord::Compression | FrameRecord::DataLengthIndicator;
    }
    if ((v3 & V3Encryption) != 0) {
        flags.format |= FrameRecord::Encryption;
    }
    return flags;
}

std::size_t ExtraHeaderLength(std::uint8_t formatFlags, std::uint8_t majorVersion) {
    std::size_t length = 0;
    if ((formatFlags & FrameRecord::Grouping) != 0) {
        ++length;
    }
    if ((formatFlags & FrameRecord::Encryption) != 0) {
        ++length;
    }
    const std::uint8_t sized =
        majorVersion == 3 ? FrameRecord::Compression : FrameRecord::DataLengthIndicator;
    if ((formatFlags & sized) != 0) {
        length += 4;
    }
    return length;
}

void ApplyExtraHeader(std::span<const std::uint8_t> extra, std::uint8_t majorVersion,
                      FrameRecord& frame) {
    const std::uint8_t flags = frame.formatFlags;
    std::size_t at = 0;
    const auto take = [&](std::size_t count) {
        const std::span<const std::uint8_t> bytes = extra.subspan(at, count);
        at += count;
        return bytes;
    };
    if (majorVersion == 3) {
        if ((flags & FrameRecord::Compression) != 0) {
            frame.dataLength = BigEndianValue(take(4));
        }
        if ((flags & FrameRecord::Encryption) != 0) {
            frame.encryptionMethod = take(1)[0];
        }
        if ((flags & FrameRecord::Grouping) != 0) {
            frame.groupId = take(1)[0];
        }
        return;
    }
    if ((flags & FrameRecord::Grouping) != 0) {
        frame.groupId = take(1)[0];
    }
    if ((flags & FrameRecord::Encryption) != 0) {
        frame.encryptionMethod = take(1)[0];
    }
    if ((flags & FrameRecord::DataLengthIndicator) != 0) {
        frame.dataLength = SyncsafeValue(take(4));
    }
}

} // namespace tralvo::tags::id3v2
