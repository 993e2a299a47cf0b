#include "playback/engine_stream.h"

#include "playback/output_format.h"

#include <cstring>

namespace tralvo::playback {

bool EngineStream::EnsureDecoder() {
    if (!decoder) {
        decoder = Decoder::Open(path);
    }
    return decoder != nullptr;
}

bool EngineStream::MixInto(std::span<std::int32_t> mix, int volume,
                           std::vector<std::uint8_t>& scratch) {
    const std::size_t wanted = mix.size() * BytesPerSample;
    scratch.resize(wanted);
    const std::size_t got = decoder ? decoder->Read(std::span(scratch).first(wanted)) : 0;
    position += got;
    const std::size_t samples = got / BytesPerSample;
    for (std::size_t i = 0; i < samples; ++i) {
        std::int16_t sample = 0;
        std::memcpy(&sample, scratch.data() + i * BytesPerSample, sizeof sample);
        mix[i] += sample * volume / 100;
    }
    return got == wanted;
}

} // namespace tralvo::playback
