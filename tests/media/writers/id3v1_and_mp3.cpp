// ID3v1 tags and the MPEG frames between the tags of a test MP3 file.
#include "media/writers/id3v2_writer.h"

#include <algorithm>

namespace tralvo::test {

namespace {

// MPEG-1 Layer III, no CRC; 128 kbit/s, 44100 Hz, no padding; joint stereo, original.
constexpr std::uint8_t MpegHeader[] = {0xFF, 0xFB, 0x90, 0x64};
// 144 * 128000 / 44100, rounded down as the format does.
constexpr std::size_t MpegFrameSize = 417;

void PutField(Bytes& tag, std::size_t offset, std::size_t length, std::string_view text) {
    const std::size_t count = std::min(length, text.size());
    std::copy_n(text.begin(), count, tag.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace

Bytes Id3v1Tag(const Id3v1Fields& fields) {
    Bytes tag(128, 0);
    PutField(tag, 0, 3, "TAG");
    PutField(tag, 3, 30, fields.title);
    PutField(tag, 33, 30, fields.artist);
    PutField(tag, 63, 30, fields.album);
    PutField(tag, 93, 4, fields.year);
    PutField(tag, 97, fields.track ? 28 : 30, fields.comment);
    if (fields.track) {
        tag[125] = 0;
        tag[126] = *fields.track;
    }
    tag[127] = fields.genre;
    return tag;
}

Bytes FakeMpegFrames(std::size_t count) {
    Bytes frames;
    frames.reserve(count * MpegFrameSize);
    for (std::size_t i = 0; i < count; ++i) {
        Append(frames, MpegHeader);
        frames.resize(frames.size() + MpegFrameSize - sizeof MpegHeader, 0);
    }
    return frames;
}

Bytes Mp3File(std::span<const std::uint8_t> id3v2Tag, std::size_t mpegFrames,
              const std::optional<Id3v1Fields>& id3v1) {
    Bytes file(id3v2Tag.begin(), id3v2Tag.end());
    Append(file, FakeMpegFrames(mpegFrames));
    if (id3v1) {
        Append(file, Id3v1Tag(*id3v1));
    }
    return file;
}

std::string AsString(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace tralvo::test
