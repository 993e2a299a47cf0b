#include "playback/ffmpeg/resampler.h"

#include "playback/output_format.h"

#include <cstddef>
#include <utility>

namespace tralvo::playback {

bool Resampler::Convert(const AVFrame& frame, std::vector<std::uint8_t>& out, int skip) {
    if (!Matches(frame)) {
        Drain(out);
        if (!Configure(frame)) {
            return false;
        }
    }
    if (skip <= 0) {
        return Append(frame.extended_data, frame.nb_samples, out) >= 0;
    }
    if (skip >= frame.nb_samples) {
        return true;
    }
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const int channels = frame.ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const auto offset = static_cast<std::size_t>(skip) *
                        static_cast<std::size_t>(av_get_bytes_per_sample(format)) *
                        static_cast<std::size_t>(planar ? 1 : channels);
    std::vector<const std::uint8_t*> planes(static_cast<std::size_t>(planar ? channels : 1));
    for (std::size_t i = 0; i < planes.size(); ++i) {
        planes[i] = frame.extended_data[i] + offset;
    }
    return Append(planes.data(), frame.nb_samples - skip, out) >= 0;
}

void Resampler::Drain(std::vector<std::uint8_t>& out) {
    if (context_) {
        while (Append(nullptr, 0, out) > 0) {
        }
    }
}

void Resampler::Reset() {
    context_.reset();
    format_ = -1;
}

bool Resampler::Matches(const AVFrame& frame) const {
    return context_ && frame.format == format_ && frame.sample_rate == rate_ &&
           av_channel_layout_compare(&frame.ch_layout, layout_.get()) == 0;
}

bool Resampler::Configure(const AVFrame& frame) {
    Reset();
    const int channels = frame.ch_layout.nb_channels;
    if (channels <= 0 || frame.sample_rate <= 0 || frame.format < 0) {
        return false;
    }
    // A WAV file without a channel mask leaves the order unspecified, which the resampler
    // cannot mix down: take the usual layout for that many channels.
    ffmpeg::ChannelLayout in;
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(in.get(), channels);
    } else if (av_channel_layout_copy(in.get(), &frame.ch_layout) < 0) {
        return false;
    }
    ffmpeg::ChannelLayout stereo;
    av_channel_layout_default(stereo.get(), OutputChannels);

    SwrContext* raw = nullptr;
    if (swr_alloc_set_opts2(&raw, stereo.get(), AV_SAMPLE_FMT_S16, OutputRate, in.get(),
                            static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0,
                            nullptr) < 0) {
        return false;
    }
    ffmpeg::ResamplerContext context(raw);
    if (channels == 1) {
        // The resampler's own mix puts mono on both sides 3 dB down; a mono file is meant to
        // sound as loud as it was recorded.
        const double bothSides[2] = {1.0, 1.0};
        if (swr_set_matrix(raw, bothSides, 1) < 0) {
            return false;
        }
    }
    if (swr_init(raw) < 0 || av_channel_layout_copy(layout_.get(), &frame.ch_layout) < 0) {
        return false;
    }
    context_ = std::move(context);
    format_ = frame.format;
    rate_ = frame.sample_rate;
    return true;
}

int Resampler::Append(const std::uint8_t* const* in, int inFrames, std::vector<std::uint8_t>& out) {
    const int capacity = swr_get_out_samples(context_.get(), inFrames);
    if (capacity < 0 || (capacity == 0 && in == nullptr)) {
        return capacity;
    }
    const std::size_t before = out.size();
    out.resize(before + static_cast<std::size_t>(capacity) * BytesPerFrame);
    std::uint8_t* target = out.data() + before;
    const int converted = swr_convert(context_.get(), &target, capacity,
                                      const_cast<const std::uint8_t**>(in), inFrames);
    out.resize(before + static_cast<std::size_t>(converted > 0 ? converted : 0) * BytesPerFrame);
    return converted;
}

} // namespace tralvo::playback
