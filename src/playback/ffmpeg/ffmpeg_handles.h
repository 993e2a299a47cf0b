#pragma once

#include <cstdint>
#include <memory>

// The FFmpeg headers are C and use C casts in their macros: the warnings that our flags turn
// into errors are silenced for them, and the macros we need become constants below.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wpedantic"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
}

namespace tralvo::playback::ffmpeg {

inline constexpr int ErrorAgain = AVERROR(EAGAIN);
inline constexpr int ErrorEndOfFile = AVERROR_EOF;
inline constexpr std::int64_t NoTimestamp = AV_NOPTS_VALUE;

} // namespace tralvo::playback::ffmpeg
#pragma GCC diagnostic pop

namespace tralvo::playback::ffmpeg {

struct FormatContextCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct ResamplerFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
// A context that reads through callbacks of ours owns its buffer, which FFmpeg may have
// replaced by one of its own in the meantime.
struct IoContextFreer {
    void operator()(AVIOContext* context) const {
        av_freep(&context->buffer);
        avio_context_free(&context);
    }
};

using FormatContext = std::unique_ptr<AVFormatContext, FormatContextCloser>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using ResamplerContext = std::unique_ptr<SwrContext, ResamplerFreer>;
using Packet = std::unique_ptr<AVPacket, PacketFreer>;
using Frame = std::unique_ptr<AVFrame, FrameFreer>;
using IoContext = std::unique_ptr<AVIOContext, IoContextFreer>;

// Owns an AVChannelLayout, which may hold an allocated map of custom channels.
class ChannelLayout {
public:
    ChannelLayout() = default;
    ~ChannelLayout() { av_channel_layout_uninit(&layout_); }
    ChannelLayout(const ChannelLayout&) = delete;
    ChannelLayout& operator=(const ChannelLayout&) = delete;

    AVChannelLayout* get() { return &layout_; }
    const AVChannelLayout* get() const { return &layout_; }

private:
    AVChannelLayout layout_{};
};

// Owns a dictionary of options, which the FFmpeg calls that take one replace in place.
class Dictionary {
public:
    Dictionary() = default;
    ~Dictionary() { av_dict_free(&dictionary_); }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    AVDictionary** address() { return &dictionary_; }

private:
    AVDictionary* dictionary_ = nullptr;
};

// A frame's timestamp in its stream's time base, or NoTimestamp.
inline std::int64_t TimestampOf(const AVFrame& frame) {
    return frame.pts != NoTimestamp ? frame.pts : frame.best_effort_timestamp;
}

} // namespace tralvo::playback::ffmpeg
