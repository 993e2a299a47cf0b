#include "tags/id3v2/extended_header.h"

#include "tags/id3v2/id3v2_tag.h"
#include "tags/id3v2/syncsafe.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace tralvo::tags::id3v2 {

namespace {

using Bytes = std::span<const std::uint8_t>;

// Walks the items of a version 4 extended header: a length byte and its data each.
class FlagItems {
public:
    explicit FlagItems(Bytes bytes) : bytes_(bytes) {}

    // The next item, or nothing when it does not fit in the extended header.
    std::optional<Bytes> Next() {
        if (bytes_.empty() || bytes_[0] >= bytes_.size()) {
            return std::nullopt;
        }
        const Bytes item = bytes_.subspan(1, bytes_[0]);
        bytes_ = bytes_.subspan(1 + item.size());
        return item;
    }

private:
    Bytes bytes_;
};

} // namespace

ExtendedHeader ReadExtendedHeaderV3(TagRing& ring) {
    ExtendedHeader header;
    std::array<std::uint8_t, 10> fixed{};
    // Short only when de-unsynchronisation shrank what the caller saw remaining.
    if (ring.Read(fixed) != fixed.size()) {
        header.error = id3v2_result::Corrupt;
        return header;
    }
    header.size = BigEndianValue(Bytes(fixed).first(4));
    const bool hasCrc = (fixed[4] & 0x80) != 0;
    if ((fixed[4] & 0x7F) != 0 || fixed[5] != 0) {
        header.warnings |= id3v2_result::WarnUnknownExtendedFlags;
    }
    header.flags = hasCrc ? extended_flag::Crc : 0;
    header.paddingSize = BigEndianValue(Bytes(fixed).subspan(6, 4));
    if (hasCrc && header.size == 10) {
        std::array<std::uint8_t, 4> crc{};
        if (ring.Read(crc) != crc.size()) {
            header.error = id3v2_result::Corrupt;
            return header;
        }
        header.crc = BigEndianValue(crc);
    }
    return header;
}

ExtendedHeader ReadExtendedHeaderV4(TagRing& ring) {
    ExtendedHeader header;
    std::array<std::uint8_t, 4> sizeBytes{};
    ring.Read(sizeBytes); // the caller made sure more than 6 bytes remain, as they are
    header.size = SyncsafeValue(sizeBytes);
    if (header.size < 6 || header.size - 4 > ring.Remaining()) {
        header.error = id3v2_result::Corrupt;
        return header;
    }
    std::vector<std::uint8_t> rest(header.size - 4);
    if (ring.Read(rest) != rest.size()) {
        header.error = id3v2_result::Corrupt;
        return header;
    }
    const std::uint8_t flagByteCount = rest[0];
    const std::uint8_t flags = rest[1];
    if (flagByteCount == 0) {
        header.error = id3v2_result::Corrupt;
        return header;
    }
    if ((flags & 0x8F) != 0 || flagByteCount > 1) {
        header.warnings |= id3v2_result::WarnUnknownExtendedFlags;
    }
    header.flags =
        flags & (extended_flag::Update | extended_flag::Crc | extended_flag::Restrictions);

    FlagItems items(Bytes(rest).subspan(std::min<std::size_t>(1 + flagByteCount, rest.size())));
    for (const std::uint8_t bit : {std::uint8_t{0x80}, extended_flag::Update, extended_flag::Crc,
                                   extended_flag::Restrictions}) {
        if ((flags & bit) == 0) {
            continue;
        }
        const std::optional<Bytes> item = items.Next();
        if (!item || (bit == extended_flag::Crc && item->size() < 5)) {
            header.error = id3v2_result::Corrupt;
            return header;
        }
        if (bit == extended_flag::Crc) {
            header.crc = SyncsafeValue(item->first(5));
        } else if (bit == extended_flag::Restrictions && !item->empty()) {
            header.restrictions = (*item)[0];
        }
    }
    return header;
}

} // namespace tralvo::tags::id3v2
