// The frame loop of a load: frame headers, their extra bytes and the frame data, up to the
// padding or the end of the tag.
#include "tags/id3v2/tag_parser.h"

#include <algorithm>
#include <array>

namespace tralvo::tags::id3v2 {

namespace {

// Version 3 refuses frames that end further into the file than this, from the start offset.
constexpr std::uint64_t V3FrameEndLimit = 0x10000000;

} // namespace

std::uint16_t TagParser::ReadFrames(TagRing& ring) {
    while (ring.Remaining() > 0) {
        std::array<std::uint8_t, FrameHeaderSize> header{};
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(header.size(), ring.Remaining()));
        const std::size_t got = ring.Read(std::span(header).first(wanted));

        if (StartsPadding(std::span(header).first(got))) {
            if (ring.Remaining() > 0) {
                const auto found = static_cast<std::uint32_t>(got + ring.Remaining());
                ring.SkipRest();
                // A declared size of 0 counts as none declared: writers that add an extended
                // header for its CRC alone leave the padding size at 0.
                if (header_.majorVersion == 3 && tag_.paddingSize_ != 0 &&
                    tag_.paddingSize_ != found) {
                    warnings_ |= id3v2_result::WarnPaddingDiffers;
                } else {
                    tag_.paddingSize_ = found;
                }
            } else {
                tag_.paddingSize_ = static_cast<std::uint32_t>(got);
            }
        }
        if (ring.Remaining() == 0) {
            // A frame header with no room after it is corrupt, unless padding was found or
            // declared.
            if (tag_.paddingSize_ != 0) {
                break;
            }
            return id3v2_result::Corrupt;
        }
        if (got != header.size()) {
            return id3v2_result::Corrupt; // an unsynchronised body that held less than it seemed
        }
        if (const std::uint16_t error = ReadFrame(ring, header); error != 0) {
            return error;
        }
        UpdateProgress(ring);
    }
    return id3v2_result::Ok;
}

std::uint16_t TagParser::ReadFrame(TagRing& ring,
                                   std::span<const std::uint8_t, FrameHeaderSize> header) {
    const std::optional<std::string> id = ReadFrameId(header);
    if (!id) {
        return id3v2_result::BadFrameId;
    }
    FrameRecord& frame = tag_.frames_.Add();
    frame.id = *id;

    const std::uint8_t version = header_.majorVersion;
    const std::uint32_t size = ReadFrameSize(header, version);
    if (size > ring.Remaining()) {
        return id3v2_result::Corrupt;
    }
    frame.frameOffset = static_cast<std::uint32_t>(ring.Consumed());
    if (version == 3 && TagHeaderSize + frame.frameOffset + std::uint64_t{size} > V3FrameEndLimit) {
        return id3v2_result::Corrupt;
    }
    const FrameFlags flags = ReadFrameFlags(header, version);
    frame.statusFlags = flags.status;
    frame.formatFlags = flags.format;
    frame.pendingFlags = flags.format;

    std::array<std::uint8_t, 6> extraBytes{};
    const std::span<std::uint8_t> extra =
        std::span(extraBytes).first(ExtraHeaderLength(flags.format, version));
    if (extra.size() > size || ring.Read(extra) != extra.size()) {
        return id3v2_result::Corrupt;
    }
    ApplyExtraHeader(extra, version, frame);
    frame.headerLength = static_cast<std::uint32_t>(FrameHeaderSize + extra.size());

    frame.data.resize(size - extra.size());
    const std::size_t got = ring.Read(frame.data);
    if (got != frame.data.size()) {
        frame.data.resize(got);
        return id3v2_result::Corrupt; // an unsynchronised body that held less than it seemed
    }
    return id3v2_result::Ok;
}

} // namespace tralvo::tags::id3v2
