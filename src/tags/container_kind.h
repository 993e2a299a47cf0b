#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tralvo::tags {

enum class ContainerKind {
    OggVorbis, // an Ogg page whose first packet is a Vorbis identification header
    Asf,       // the ASF header object (WMA)
    Wave,      // RIFF/WAVE
    Mpeg,      // an ID3v2 tag or an MPEG audio frame header at the start
};

// Tells a file's container from its first bytes alone, without decoding anything.
std::optional<ContainerKind> SniffContainer(std::span<const std::uint8_t> firstBytes);

} // namespace tralvo::tags
