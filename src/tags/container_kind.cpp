#include "tags/container_kind.h"

#include "tags/asf_objects.h"
#include "tags/ogg_page.h"

#include <algorithm>
#include <string_view>

namespace tralvo::tags {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix, std::size_t at = 0) {
    return bytes.size() >= at + prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

bool IsOggVorbis(std::span<const std::uint8_t> bytes) {
    const auto page = ParseOggPageHeader(bytes);
    return page && StartsWith(bytes, std::string_view("\x01vorbis", 7), page->HeaderSize());
}

bool IsMpegFrameHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 3 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) {
        return false;
    }
    const unsigned version = (bytes[1] >> 3) & 3u;
    const unsigned layer = (bytes[1] >> 1) & 3u;
    const unsigned bitrate = bytes[2] >> 4;
    const unsigned sampleRate = (bytes[2] >> 2) & 3u;
    return version != 1 && layer != 0 && bitrate != 15 && sampleRate != 3; // the reserved values
}

} // namespace

std::optional<ContainerKind> SniffContainer(std::span<const std::uint8_t> firstBytes) {
    if (IsOggVorbis(firstBytes)) {
        return ContainerKind::OggVorbis;
    }
    if (firstBytes.size() >= asf::HeaderObject.size() &&
        std::equal(asf::HeaderObject.begin(), asf::HeaderObject.end(), firstBytes.begin())) {
        return ContainerKind::Asf;
    }
    if (StartsWith(firstBytes, "RIFF") && StartsWith(firstBytes, "WAVE", 8)) {
        return ContainerKind::Wave;
    }
    if ((StartsWith(firstBytes, "ID3") && firstBytes.size() > 3 && firstBytes[3] >= 2 &&
         firstBytes[3] <= 4) ||
        IsMpegFrameHeader(firstBytes)) {
        return ContainerKind::Mpeg;
    }
    return std::nullopt;
}

} // namespace tralvo::tags
