#pragma once

#include "playback/decoder.h"

#include <cstdint>
#include <memory>
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
    std::unique_ptr<Decoder> decoder; // opened when first needed
    State state = State::Stopped;
    bool ended = false;         // played to its end
    std::uint64_t position = 0; // output bytes handed to the output

    // Opens the decoder if it is not open yet.
    bool EnsureDecoder();

    // Adds the stream's next samples, scaled by volume (0..100), to mix; returns false once
    // the stream has reached its end.
    bool MixInto(std::span<std::int32_t> mix, int volume, std::vector<std::uint8_t>& scratch);
};

} // namespace tralvo::playback
