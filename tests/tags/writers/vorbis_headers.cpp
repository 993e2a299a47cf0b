#include "tags/writers/ogg_writer.h"

namespace tralvo::test {
namespace {

void AppendVorbisPacketType(Bytes& out, std::uint8_t type) {
    out.push_back(type);
    Append(out, "vorbis");
}

} // namespace

Bytes VorbisIdentificationPacket(std::uint8_t channels, std::uint32_t sampleRate) {
    Bytes packet;
    AppendVorbisPacketType(packet, 1);
    AppendLe(packet, 0, 4); // Vorbis version
    packet.push_back(channels);
    AppendLe(packet, sampleRate, 4);
    AppendLe(packet, 0, 4);      // maximum bitrate: unset
    AppendLe(packet, 128000, 4); // nominal bitrate
    AppendLe(packet, 0, 4);      // minimum bitrate: unset
    packet.push_back(0xB8);      // block sizes 2^8 and 2^11
    packet.push_back(1);         // framing bit
    return packet;
}

Bytes VorbisCommentPacket(std::string_view vendor, const std::vector<std::string>& comments) {
    Bytes packet;
    AppendVorbisPacketType(packet, 3);
    AppendLe(packet, vendor.size(), 4);
    Append(packet, vendor);
    AppendLe(packet, comments.size(), 4);
    for (const std::string& comment : comments) {
        AppendLe(packet, comment.size(), 4);
        Append(packet, comment);
    }
    packet.push_back(1); // framing bit
    return packet;
}

Bytes OggVorbisHeaders(std::string_view vendor, const std::vector<std::string>& comments,
                       std::uint32_t serial, std::size_t segmentsPerPage) {
    return Concat(
        PageOggPackets({VorbisIdentificationPacket(), VorbisCommentPacket(vendor, comments)},
                       serial, segmentsPerPage));
}

} // namespace tralvo::test
