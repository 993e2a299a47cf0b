#pragma once

#include "tags/id3v2/frame_header.h"
#include "tags/id3v2/id3v2_tag.h"
#include "tags/id3v2/tag_file.h"
#include "tags/id3v2/tag_header.h"
#include "tags/id3v2/tag_ring.h"

#include <cstdint>
#include <string>

namespace tralvo::tags::id3v2 {

// The working state of one load: it lives for one LoadFromFile call and fills the reader's
// fields as it goes.
class TagParser {
public:
    // The whole load: file, header, extended header, frames. Throws FileFailure.
    static std::uint16_t Load(Id3v2Tag& tag, const std::string& fileName,
                              std::uint32_t startOffset);

private:
    TagParser(Id3v2Tag& tag, TagFile& file, std::uint64_t startOffset, const TagHeader& header)
        : tag_(tag), file_(file), startOffset_(startOffset), header_(header) {}

    // Everything after the header of a version 3 or 4 tag; the result without the warnings.
    std::uint16_t Parse();
    std::uint16_t ReadExtendedHeader(TagRing& ring);
    std::uint16_t ReadFrames(TagRing& ring);
    std::uint16_t ReadFrame(TagRing& ring, std::span<const std::uint8_t, FrameHeaderSize> header);
    void UpdateProgress(const TagRing& ring);

    Id3v2Tag& tag_;
    TagFile& file_;
    std::uint64_t startOffset_;
    TagHeader header_;
    std::uint16_t warnings_ = 0;
};

} // namespace tralvo::tags::id3v2
