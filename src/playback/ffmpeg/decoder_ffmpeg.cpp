#include "playback/decoder.h"
#include "playback/engine_modules.h"
#include "playback/ffmpeg/audio_input.h"
#include "playback/ffmpeg/ffmpeg_handles.h"
#include "playback/ffmpeg/resampler.h"
#include "playback/output_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

namespace tralvo::playback {
namespace {

// How far before a seek target decoding starts, in output frames. The lossy codecs need a
// frame or two before the target to rebuild the overlap of their transforms (and MP3 its bit
// reservoir). FFmpeg times the packets of the first Ogg page after a seek by guessing the
// first packet's length, up to a short block off; the pages after it carry exact times, and
// FFmpeg's Ogg muxer writes pages of up to a second. The longer prerolls serve containers
// that land after the timestamp they were given.
constexpr std::uint64_t Prerolls[] = {3 * OutputRate / 2, 10 * OutputRate};

// Output frames that the resampler computes and drops before a seek's target: more than its
// filter reaches back, so the target's frames come out as they do in a stream read whole.
constexpr double ResamplerWarmup = 1024;

class FfmpegDecoder final : public Decoder {
public:
    FfmpegDecoder(std::string path, std::unique_ptr<AudioInput> input)
        : path_(std::move(path)), input_(std::move(input)) {}

    bool Start();

    std::uint64_t LengthBytes() const override { return lengthFrames_ * BytesPerFrame; }

    std::size_t Read(std::span<std::uint8_t> out) override {
        try {
            return ReadFrames(out);
        } catch (...) { // no memory for the output buffer: end the stream
            ended_ = true;
            ClearPending();
            return 0;
        }
    }

    bool Seek(std::uint64_t bytePosition) override {
        try {
            return SeekFrame(bytePosition / BytesPerFrame);
        } catch (...) {
            ended_ = true;
            ClearPending();
            return false;
        }
    }

private:
    enum class Landing { AtTarget, PastTarget, Unknown };

    std::size_t ReadFrames(std::span<std::uint8_t> out);
    bool Produce();
    bool SeekFrame(std::uint64_t target);
    Landing DecodeUpTo(std::uint64_t target, std::optional<double> firstStart);
    std::optional<double> OutputFrameOf(std::int64_t timestamp) const;
    std::int64_t StreamTimestampOf(std::uint64_t outputFrame) const;
    void ClearPending();
    void DropPending();
    void Restart();

    std::string path_;
    std::unique_ptr<AudioInput> input_;
    Resampler resampler_;
    ffmpeg::Frame frame_;
    // Converted output not yet read: pending_[pendingStart_..] (whole frames).
    std::vector<std::uint8_t> pending_;
    std::size_t pendingStart_ = 0;
    // Output frames still to drop to reach a seek's target: a short frame may end, after the
    // resampler has held back its last samples, before the target does.
    std::uint64_t dropFrames_ = 0;
    // The stream timestamp of output frame 0: the first decoded sample, after the encoder
    // delay that the decoder drops by itself.
    std::int64_t origin_ = 0;
    std::uint64_t lengthFrames_ = 0;
    bool ended_ = false;
};

bool FfmpegDecoder::Start() {
    frame_.reset(av_frame_alloc());
    if (!frame_) {
        return false;
    }
    while (input_->Decode(*frame_) == AudioInput::Result::Frame) {
        if (frame_->nb_samples <= 0) {
            continue;
        }
        const std::int64_t timestamp = ffmpeg::TimestampOf(*frame_);
        const std::int64_t start = input_->StartTime();
        origin_ = timestamp != ffmpeg::NoTimestamp ? timestamp
                  : start != ffmpeg::NoTimestamp   ? start
                                                   : 0;
        if (!resampler_.Convert(*frame_, pending_)) {
            return false;
        }
        const AVRational timeBase = input_->TimeBase();
        lengthFrames_ = static_cast<std::uint64_t>(
            av_rescale_rnd(input_->Duration(), std::int64_t{timeBase.num} * OutputRate,
                           timeBase.den, AV_ROUND_NEAR_INF));
        return true;
    }
    return false; // not one decodable frame: truncated, empty or not audio
}

std::size_t FfmpegDecoder::ReadFrames(std::span<std::uint8_t> out) {
    const std::size_t wanted = out.size() - out.size() % BytesPerFrame;
    std::size_t written = 0;
    while (written < wanted) {
        if (pendingStart_ == pending_.size() && !Produce()) {
            break;
        }
        const std::size_t count = std::min(wanted - written, pending_.size() - pendingStart_);
        std::memcpy(out.data() + written, pending_.data() + pendingStart_, count);
        written += count;
        pendingStart_ += count;
    }
    return written;
}

// Refills pending_ with the next converted frame; false at the end of the stream.
bool FfmpegDecoder::Produce() {
    ClearPending();
    while (!ended_) {
        if (input_->Decode(*frame_) == AudioInput::Result::End) {
            resampler_.Drain(pending_);
            ended_ = true;
        } else {
            // A frame that cannot be converted is left out, as a decoder drops a corrupt one.
            resampler_.Convert(*frame_, pending_);
        }
        DropPending();
        if (pendingStart_ < pending_.size()) {
            return true;
        }
        ClearPending();
    }
    return false;
}

bool FfmpegDecoder::SeekFrame(std::uint64_t target) {
    // Beyond the end is refused and leaves the stream where it was; a length the container
    // does not give leaves every position open.
    if (lengthFrames_ > 0 && target > lengthFrames_) {
        return false;
    }
    for (const std::uint64_t preroll : Prerolls) {
        const std::uint64_t first = target > preroll ? target - preroll : 0;
        const std::int64_t start = input_->StartTime();
        const std::int64_t timestamp =
            first > 0 ? StreamTimestampOf(first)
                      : (start != ffmpeg::NoTimestamp ? std::min(start, origin_) : origin_);
        if (input_->Seek(timestamp)) {
            Restart();
            if (DecodeUpTo(target, std::nullopt) == Landing::AtTarget) {
                return true;
            }
        }
        if (first == 0) {
            break;
        }
    }
    // The container cannot seek there, or its timestamps do not say where it landed: decode
    // from the beginning of a freshly opened file.
    Restart();
    auto reopened = AudioInput::Open(path_);
    if (!reopened) {
        ended_ = true;
        return false;
    }
    input_ = std::move(reopened);
    DecodeUpTo(target, 0.0);
    return true;
}

// Decodes from where the demuxer stands, dropping whole frames before target and the part of
// the frame that holds target before it. firstStart gives the output frame of the first
// decoded sample when the timestamps do not. Reaching the end first leaves the stream there.
FfmpegDecoder::Landing FfmpegDecoder::DecodeUpTo(std::uint64_t target,
                                                 std::optional<double> firstStart) {
    const double wanted = static_cast<double>(target);
    const double resumeAt = std::max(0.0, wanted - ResamplerWarmup);
    std::optional<double> next = firstStart;
    bool first = true;
    while (input_->Decode(*frame_) == AudioInput::Result::Frame) {
        if (frame_->nb_samples <= 0 || frame_->sample_rate <= 0) {
            continue;
        }
        std::optional<double> start = OutputFrameOf(ffmpeg::TimestampOf(*frame_));
        if (!start) {
            start = next;
        }
        if (!start) {
            return Landing::Unknown;
        }
        // Half a frame of slack: a resampled timestamp need not fall on a whole output frame.
        if (first && !firstStart && *start > wanted + 0.5) {
            return Landing::PastTarget;
        }
        first = false;
        const int rate = frame_->sample_rate;
        next = *start + static_cast<double>(frame_->nb_samples) * OutputRate / rate;
        if (*next <= resumeAt) {
            continue;
        }
        // The resampler restarts on an input sample that lies on an output frame of the
        // stream read from its start, so it computes the same frames as reading from there.
        const std::int64_t step = rate / std::gcd(rate, OutputRate);
        const std::int64_t input = std::llround(*start * rate / OutputRate);
        const std::int64_t aligned = (input >= 0 ? input + step - 1 : input) / step * step;
        if (aligned - input >= frame_->nb_samples) {
            continue;
        }
        resampler_.Reset();
        if (!resampler_.Convert(*frame_, pending_, static_cast<int>(aligned - input))) {
            continue;
        }
        const std::int64_t late = static_cast<std::int64_t>(target) - aligned * OutputRate / rate;
        dropFrames_ = late > 0 ? static_cast<std::uint64_t>(late) : 0;
        DropPending();
        return Landing::AtTarget;
    }
    ended_ = true;
    return Landing::AtTarget;
}

std::optional<double> FfmpegDecoder::OutputFrameOf(std::int64_t timestamp) const {
    if (timestamp == ffmpeg::NoTimestamp) {
        return std::nullopt;
    }
    const AVRational timeBase = input_->TimeBase();
    return static_cast<double>(timestamp - origin_) * timeBase.num * OutputRate / timeBase.den;
}

std::int64_t FfmpegDecoder::StreamTimestampOf(std::uint64_t outputFrame) const {
    const AVRational timeBase = input_->TimeBase();
    return origin_ + av_rescale_rnd(static_cast<std::int64_t>(outputFrame), timeBase.den,
                                    std::int64_t{timeBase.num} * OutputRate, AV_ROUND_DOWN);
}

void FfmpegDecoder::ClearPending() {
    pending_.clear();
    pendingStart_ = 0;
}

void FfmpegDecoder::DropPending() {
    const std::uint64_t available = (pending_.size() - pendingStart_) / BytesPerFrame;
    const std::uint64_t dropped = std::min(dropFrames_, available);
    pendingStart_ += static_cast<std::size_t>(dropped) * BytesPerFrame;
    dropFrames_ -= dropped;
}

// Forgets all output of the old position, for decoding from a new one.
void FfmpegDecoder::Restart() {
    ClearPending();
    dropFrames_ = 0;
    ended_ = false;
    resampler_.Reset();
}

std::unique_ptr<Decoder> OpenFfmpegDecoder(const std::string& path) {
    // The program keeps no log, and FFmpeg would otherwise write to the terminal.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    try {
        auto input = AudioInput::Open(path);
        if (!input) {
            return nullptr;
        }
        auto decoder = std::make_unique<FfmpegDecoder>(path, std::move(input));
        if (!decoder->Start()) {
            return nullptr;
        }
        return decoder;
    } catch (...) {
        return nullptr;
    }
}

} // namespace
} // namespace tralvo::playback

extern "C" __attribute__((visibility("default"))) const tralvo::playback::DecoderModuleEntry*
tralvo_decoder_module_entry() {
    static constexpr tralvo::playback::DecoderModuleEntry entry{
        tralvo::playback::ModuleInterfaceVersion, &tralvo::playback::OpenFfmpegDecoder};
    return &entry;
}
