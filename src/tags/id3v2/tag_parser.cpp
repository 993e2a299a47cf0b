#include "tags/id3v2/tag_parser.h"

#include "tags/id3v2/extended_header.h"

#include <array>

namespace tralvo::tags::id3v2 {

std::uint16_t TagParser::Load(Id3v2Tag& tag, const std::string& fileName,
                              std::uint32_t startOffset) {
    tag.fileName_ = fileName;
    tag.startOffset_ = startOffset;
    OpenedTagFile opened = OpenTagFile(fileName);
    if (opened.readOnly) {
        tag.readOnly_ = *opened.readOnly;
    }
    if (!opened.file) {
        return id3v2_result::CannotOpen;
    }
    TagFile& file = *opened.file;
    if (file.Size() <= startOffset) {
        return id3v2_result::OffsetBeyondFile;
    }
    tag.status_ = "Loading tag";
    tag.loaded_ = false;
    tag.progress_ = 0;

    // A file without a tag costs this one read.
    std::array<std::uint8_t, TagHeaderSize> bytes{};
    if (file.Size() - startOffset < bytes.size()) {
        return id3v2_result::NoTag;
    }
    file.ReadAt(startOffset, bytes);
    const std::optional<TagHeader> header = ParseTagHeader(bytes);
    if (!header) {
        return id3v2_result::NoTag;
    }
    tag.majorVersion_ = header->majorVersion;
    tag.revision_ = header->revision;
    if (header->majorVersion != 3 && header->majorVersion != 4) {
        return id3v2_result::UnsupportedVersion;
    }

    TagParser parser(tag, file, startOffset, *header);
    const auto result = static_cast<std::uint16_t>(parser.Parse() | parser.warnings_);
    tag.lastResult_ = result;
    tag.loaded_ = true;
    tag.progress_ = 100;
    tag.status_ = "Load Complete";
    return result;
}

std::uint16_t TagParser::Parse() {
    tag_.frames_.Clear();
    tag_.modified_ = false;
    tag_.extendedHeaderFlags_ = 0;
    tag_.extendedHeaderSize_ = 0;
    tag_.paddingSize_ = 0;
    tag_.crc_ = 0;
    tag_.restrictions_ = 0;
    if (header_.revision != 0) {
        warnings_ |= id3v2_result::WarnRevision;
    }
    const std::uint8_t known = KnownHeaderFlags(header_.majorVersion);
    tag_.headerFlags_ = header_.flags & known;
    if ((header_.flags & ~known) != 0) {
        warnings_ |= id3v2_result::WarnUnknownHeaderFlags;
    }

    tag_.tagSize_ = header_.bodySize;
    if (file_.Size() < startOffset_ + TagHeaderSize + header_.bodySize) {
        return id3v2_result::TagPastEndOfFile;
    }
    // Version 4 frames carry their own unsynchronisation flag; the header flag only tells
    // that some frame may use it.
    const bool unsynchronised =
        header_.majorVersion == 3 && (header_.flags & header_flag::Unsynchronisation) != 0;
    TagRing ring(file_, startOffset_ + TagHeaderSize, header_.bodySize, unsynchronised);
    UpdateProgress(ring);

    if ((header_.flags & header_flag::ExtendedHeader) != 0) {
        if (const std::uint16_t error = ReadExtendedHeader(ring); error != 0) {
            return error;
        }
    }
    return ReadFrames(ring);
}

std::uint16_t TagParser::ReadExtendedHeader(TagRing& ring) {
    const bool v3 = header_.majorVersion == 3;
    if (ring.Remaining() <= (v3 ? 10u : 6u)) {
        return 0;
    }
    const ExtendedHeader extended = v3 ? ReadExtendedHeaderV3(ring) : ReadExtendedHeaderV4(ring);
    tag_.extendedHeaderSize_ = extended.size;
    tag_.extendedHeaderFlags_ = extended.flags;
    tag_.paddingSize_ = extended.paddingSize;
    tag_.crc_ = extended.crc;
    tag_.restrictions_ = extended.restrictions;
    warnings_ |= extended.warnings;
    return extended.error;
}

void TagParser::UpdateProgress(const TagRing& ring) {
    const std::uint64_t whole = std::uint64_t{header_.bodySize} + TagHeaderSize;
    const std::uint64_t done = ring.FileBytesDone() + TagHeaderSize;
    tag_.progress_ = static_cast<std::uint8_t>(std::min<std::uint64_t>(100, done * 100 / whole));
}

} // namespace tralvo::tags::id3v2
