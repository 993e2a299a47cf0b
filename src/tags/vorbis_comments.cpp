#include "tags/vorbis_comments.h"

#include "tags/byte_cursor.h"
#include "tags/latin1_text.h"
#include "tags/ogg_packets.h"

#include <algorithm>
#include <array>

namespace tralvo::tags {
namespace {

using Packet = std::vector<std::uint8_t>;

bool IsVorbisHeader(const Packet& packet, std::uint8_t type) {
    static constexpr std::array<std::uint8_t, 6> vorbis = {'v', 'o', 'r', 'b', 'i', 's'};
    return packet.size() >= 1 + vorbis.size() && packet[0] == type &&
           std::equal(vorbis.begin(), vorbis.end(), packet.begin() + 1);
}

// The comment header after its 7-byte packet type: vendor, then a count and that many comments,
// each a 32-bit length and its bytes. The closing framing bit is not required.
std::optional<std::vector<std::string>> ParseCommentHeader(std::span<const std::uint8_t> body) {
    ByteCursor cursor(body);
    const auto vendorLength = cursor.U32();
    if (!vendorLength || !cursor.Bytes(*vendorLength)) {
        return std::nullopt;
    }
    const auto count = cursor.U32();
    if (!count) {
        return std::nullopt;
    }
    std::vector<std::string> comments;
    // Each comment takes at least its 4 length bytes, so a hostile count fails on the bytes
    // that are missing long before the list grows large.
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto length = cursor.U32();
        const auto text = length ? cursor.Bytes(*length) : std::nullopt;
        if (!text) {
            return std::nullopt;
        }
        // Tag text ends at its first NUL (latin1_text.h).
        comments.push_back(UpToNul(*text));
    }
    return comments;
}

} // namespace

std::optional<std::vector<std::string>> ReadVorbisComments(ByteSource& source) {
    constexpr std::uint8_t identificationType = 1;
    constexpr std::uint8_t commentType = 3;
    constexpr std::size_t packetTypeSize = 7;

    OggPacketReader reader(source);
    const auto identification = reader.NextPacket();
    if (!identification || !IsVorbisHeader(*identification, identificationType)) {
        return std::nullopt;
    }
    const auto comment = reader.NextPacket();
    if (!comment || !IsVorbisHeader(*comment, commentType)) {
        return std::nullopt;
    }
    return ParseCommentHeader(std::span<const std::uint8_t>(*comment).subspan(packetTypeSize));
}

} // namespace tralvo::tags
