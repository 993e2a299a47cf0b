#pragma once

#include "playback/ffmpeg/ffmpeg_handles.h"

#include <cstdint>
#include <vector>

namespace tralvo::playback {

// Converts decoded frames of any sample format, rate and channel layout to the output format
// (output_format.h). Follows changes of the input format within a stream.
class Resampler {
public:
    // Appends the converted frame, without its first skip samples, to out (whole output
    // frames). False when the frame's format cannot be converted.
    bool Convert(const AVFrame& frame, std::vector<std::uint8_t>& out, int skip = 0);

    // Appends what the resampler still holds back; for the end of the stream.
    void Drain(std::vector<std::uint8_t>& out);

    // Forgets what it holds back, so that the next frame is converted as if it came first:
    // its first sample becomes the first output frame.
    void Reset();

private:
    bool Matches(const AVFrame& frame) const;
    bool Configure(const AVFrame& frame);
    // The number of output frames appended, or -1.
    int Append(const std::uint8_t* const* in, int inFrames, std::vector<std::uint8_t>& out);

    ffmpeg::ResamplerContext context_;
    int format_ = -1;
    int rate_ = 0;
    ffmpeg::ChannelLayout layout_;
};

} // namespace tralvo::playback
