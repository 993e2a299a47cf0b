// Feeds any bytes to the container sniffing and both header parsers, which must neither crash
// nor hand on a text that the engine's NUL-terminated tag sequence could not carry.
#include "playback/tags/asf_attributes.h"
#include "playback/tags/container_kind.h"
#include "playback/tags/vorbis_comments.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

void CheckTexts(const std::optional<std::vector<std::string>>& texts, bool asf) {
    if (!texts) {
        return;
    }
    for (const std::string& text : *texts) {
        if (text.find('\0') != std::string::npos) {
            std::abort(); // a NUL would end the text early in the engine's tag sequence
        }
        if (asf && text.find(" : ") == std::string::npos) {
            std::abort(); // every ASF attribute reads as "name : value"
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)tralvo::playback::SniffContainer(bytes);

    tralvo::playback::MemorySource ogg(bytes);
    CheckTexts(tralvo::playback::ReadVorbisComments(ogg), false);

    tralvo::playback::MemorySource asf(bytes);
    CheckTexts(tralvo::playback::ReadAsfAttributes(asf), true);
    return 0;
}
