#pragma once

#include "playback/decoder.h"
#include "playback/tags/byte_source.h"
#include "playback/tags/container_kind.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tralvo::playback {

// One stream of the engine. Guarded by the engine's lock; the output thread touches only
// streams that play.
struct EngineStream {
    enum class State { Stopped, Playing, Paused };

    std::string path;
    bool autoFree = false;
    std::optional<ContainerKind> container;
    std::unique_ptr<FileSource> header;  // kept for the tags
    std::unique_ptr<Decoder> decoder;    // opened when first needed
    std::optional<std::string> tagBlock; // NUL-terminated strings, made on first request
    bool tagsRead = false;
    State state = State::Stopped;
    bool ended = false;         // played to its end
    std::uint64_t position = 0; // output bytes handed to the output

    // Opens the decoder if it is not open yet.
    bool EnsureDecoder();

    // Adds the stream's next samples, scaled by volume (0..100), to mix; returns false once
    // the stream has reached its end.
    bool MixInto(std::span<std::int32_t> mix, int volume, std::vector<std::uint8_t>& scratch);
};

// The tags of a stream as one block of NUL-terminated strings ended by an empty one;
// nothing when there are none.
std::optional<std::string> PackTags(const std::optional<std::vector<std::string>>& tags);

} // namespace tralvo::playback
