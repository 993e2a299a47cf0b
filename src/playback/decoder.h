#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tralvo::playback {

// Decodes one audio file (MP3, Ogg Vorbis, WMA, WAV) to the output format of
// output_format.h. Not thread-safe: one thread at a time.
class Decoder {
public:
    // Opens the file, its first audio stream, the codec and the resampler, and decodes the
    // first frame so that a file that cannot be played is refused here. Nothing on failure,
    // also when the FFmpeg module, loaded by the first call, cannot be loaded.
    static std::unique_ptr<Decoder> Open(const std::string& path);
    virtual ~Decoder() = default;

    // The length in output bytes (a whole number of frames), as the container gives it:
    // exact for WAV, as close as the container allows for the others.
    virtual std::uint64_t LengthBytes() const = 0;

    // Fills out with the next output bytes; fewer (down to 0) only at the end of the stream.
    // Always a whole number of frames.
    virtual std::size_t Read(std::span<std::uint8_t> out) = 0;

    // Makes the next Read start at bytePosition (rounded down to a frame). False, leaving the
    // stream where it was, beyond a known LengthBytes; at or before it, a position past the
    // last decoded frame leaves the stream at its end. Also false, with the stream at its
    // end, when the file can no longer be read.
    virtual bool Seek(std::uint64_t bytePosition) = 0;
};

} // namespace tralvo::playback
