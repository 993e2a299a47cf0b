#pragma once

#include "platform/unique_fd.h"
#include "playback/ffmpeg/ffmpeg_handles.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tralvo::playback {

// The best audio stream of a file with its opened codec: hands out decoded frames one by one.
class AudioInput {
public:
    // Nothing when the path is not a regular file, not a supported container, or has no
    // audio stream whose codec opens.
    static std::unique_ptr<AudioInput> Open(const std::string& path);

    enum class Result { Frame, End };

    // The next decoded frame; End once the stream is exhausted (flushing the codec first, so
    // no tail is lost) or when it cannot be decoded any further.
    Result Decode(AVFrame& frame);

    // Moves the demuxer to a packet at or before timestamp (stream time base) and forgets what
    // the codec held. False when the container refuses; the position is then undefined.
    bool Seek(std::int64_t timestamp);

    AVRational TimeBase() const { return stream_->time_base; }
    // The stream's first timestamp as the container gives it, or NoTimestamp.
    std::int64_t StartTime() const { return stream_->start_time; }
    // The length of what the decoder produces, in the stream's time base; 0 when unknown.
    std::int64_t Duration() const;

private:
    AudioInput() = default;
    bool Start(const std::string& path);

    // Declared before the demuxer, which reads through them, so that they outlive it.
    UniqueFd file_;
    ffmpeg::IoContext io_;
    ffmpeg::FormatContext format_;
    ffmpeg::CodecContext codec_;
    ffmpeg::Packet packet_;
    AVStream* stream_ = nullptr; // owned by format_
    bool draining_ = false;
};

} // namespace tralvo::playback
