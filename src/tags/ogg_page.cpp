#include "tags/ogg_page.h"

#include "tags/byte_cursor.h"

#include <algorithm>
#include <numeric>

namespace tralvo::tags {

std::size_t OggPageHeader::BodySize() const {
    const auto table = Lacing();
    return std::accumulate(table.begin(), table.end(), std::size_t{0});
}

std::optional<OggPageHeader> ParseOggPageHeader(std::span<const std::uint8_t> bytes) {
    static constexpr std::array<std::uint8_t, 5> captureAndVersion = {'O', 'g', 'g', 'S', 0};
    if (bytes.size() < OggPageHeader::FixedSize ||
        !std::equal(captureAndVersion.begin(), captureAndVersion.end(), bytes.begin())) {
        return std::nullopt;
    }
    OggPageHeader page;
    page.headerType = bytes[5];
    page.granulePosition = LittleEndian(bytes.subspan(6, 8));
    page.serial = static_cast<std::uint32_t>(LittleEndian(bytes.subspan(14, 4)));
    page.sequence = static_cast<std::uint32_t>(LittleEndian(bytes.subspan(18, 4)));
    page.crc = static_cast<std::uint32_t>(LittleEndian(bytes.subspan(22, 4)));
    page.segmentCount = bytes[26];
    if (bytes.size() < page.HeaderSize()) {
        return std::nullopt;
    }
    std::copy_n(bytes.begin() + OggPageHeader::FixedSize, page.segmentCount, page.lacing.begin());
    return page;
}

std::optional<OggPageHeader> ReadOggPageHeader(ByteSource& source, std::uint64_t offset) {
    std::array<std::uint8_t, OggPageHeader::MaxSize> bytes{};
    const std::size_t got = source.ReadAt(offset, bytes);
    return ParseOggPageHeader(std::span<const std::uint8_t>(bytes).first(got));
}

} // namespace tralvo::tags
