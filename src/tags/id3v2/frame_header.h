#pragma once

#include "tags/id3v2/id3v2_tag.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tralvo::tags::id3v2 {

constexpr std::size_t FrameHeaderSize = 10;

// Frame headers are read as they are laid out: id (4 bytes), size (4), status flags, format
// flags. Those of version 3 are turned into the version 4 layout on the way.

// True when the header bytes, maybe fewer than ten, are where padding begins: all zero, or
// "MP3e", which some old encoders leave in the padding of tags they wrote.
bool StartsPadding(std::span<const std::uint8_t> header);

// The id in upper case, or nothing when a character is not A to Z or 0 to 9 after that.
std::optional<std::string> ReadFrameId(std::span<const std::uint8_t, FrameHeaderSize> header);

// Version 3: plain big-endian; version 4: syncsafe, high bits not refused.
std::uint32_t ReadFrameSize(std::span<const std::uint8_t, FrameHeaderSize> header,
                            std::uint8_t majorVersion);

struct FrameFlags {
    std::uint8_t status = 0;
    std::uint8_t format = 0;
};

// The flags in the version 4 layout. A compressed version 3 frame also gets the data length
// indicator bit: its decompressed size plays that part.
FrameFlags ReadFrameFlags(std::span<const std::uint8_t, FrameHeaderSize> header,
                          std::uint8_t majorVersion);

// The count of bytes between the header and the frame data that the flags call for.
std::size_t ExtraHeaderLength(std::uint8_t formatFlags, std::uint8_t majorVersion);

// Stores the extra header bytes (ExtraHeaderLength of them) in the record, each version in its
// own order.
void ApplyExtraHeader(std::span<const std::uint8_t> extra, std::uint8_t majorVersion,
                      FrameRecord& frame);

} // namespace tralvo::tags::id3v2
