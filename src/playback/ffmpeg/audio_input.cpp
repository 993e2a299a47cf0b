#include "playback/ffmpeg/audio_input.h"

#include "platform/regular_file.h"

#include <cerrno>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::playback {
namespace {

// Only local files: a playlist or a crafted file must not make the demuxer open other URLs.
constexpr const char* Protocols = "file";
// What the player's file types can hold (MP3, Ogg Vorbis, WMA, WAV) and AIFF.
constexpr const char* Containers = "mp3,ogg,asf,wav,aiff";
// The stream parameters of an audio file are known after a frame or two, but FFmpeg reads on
// up to these limits for some formats (a whole WAV file with its defaults).
constexpr const char* ProbeBytes = "32768";
constexpr const char* AnalyzeMicroseconds = "100000";

// A corrupt stretch of a file costs one error per packet; this many in a row end the stream
// instead of keeping the caller in a loop over a file that is garbage from there on.
constexpr int MaxConsecutiveErrors = 1000;

// What FFmpeg's own file reading buffers.
constexpr int IoBufferSize = 32768;

int ReadFromFile(void* opaque, std::uint8_t* buffer, int size) {
    const int fd = static_cast<const UniqueFd*>(opaque)->get();
    for (;;) {
        const ssize_t got = ::read(fd, buffer, static_cast<std::size_t>(size));
        if (got > 0) {
            return static_cast<int>(got);
        }
        if (got == 0) {
            return ffmpeg::ErrorEndOfFile;
        }
        if (errno != EINTR) {
            return AVERROR(errno);
        }
    }
}

std::int64_t SeekInFile(void* opaque, std::int64_t offset, int whence) {
    const int fd = static_cast<const UniqueFd*>(opaque)->get();
    if ((whence & AVSEEK_SIZE) != 0) {
        struct stat info {};
        return ::fstat(fd, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : AVERROR(errno);
    }
    const off_t position = ::lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return position >= 0 ? static_cast<std::int64_t>(position) : AVERROR(errno);
}

} // namespace

std::unique_ptr<AudioInput> AudioInput::Open(const std::string& path) {
    std::unique_ptr<AudioInput> input(new AudioInput);
    if (!input->Start(path)) {
        return nullptr;
    }
    return input;
}

bool AudioInput::Start(const std::string& path) {
    // The demuxer reads through a descriptor of ours rather than opening the path itself: what
    // it opened there could be a named pipe put in the file's place since, and block forever.
    file_ = OpenRegularFile(path, O_RDONLY);
    if (!file_.valid()) {
        return false;
    }
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(IoBufferSize));
    if (buffer == nullptr) {
        return false;
    }
    io_.reset(
        avio_alloc_context(buffer, IoBufferSize, 0, &file_, ReadFromFile, nullptr, SeekInFile));
    if (!io_) {
        av_free(buffer);
        return false;
    }
    AVFormatContext* format = avformat_alloc_context();
    if (format == nullptr) {
        return false;
    }
    format->pb = io_.get();

    ffmpeg::Dictionary options;
    av_dict_set(options.address(), "protocol_whitelist", Protocols, 0);
    av_dict_set(options.address(), "format_whitelist", Containers, 0);
    av_dict_set(options.address(), "probesize", ProbeBytes, 0);
    av_dict_set(options.address(), "analyzeduration", AnalyzeMicroseconds, 0);

    // The name only helps to tell the container; the prefix keeps one with a colon from being
    // taken for a protocol.
    const std::string url = "file:" + path;
    if (avformat_open_input(&format, url.c_str(), nullptr, options.address()) < 0) {
        return false; // FFmpeg has freed the context
    }
    format_.reset(format);
    if (std::string_view(format->iformat->name) == "ogg") {
        // FFmpeg's Ogg demuxer mistimes the packets after a seek that lands through the index
        // it builds while reading (by up to a page); its search of the pages times them right.
        format->max_index_size = 0;
    }
    if (avformat_find_stream_info(format, nullptr) < 0) {
        return false;
    }

    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (index < 0 || decoder == nullptr) {
        return false;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != index) {
            format->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    stream_ = format->streams[index];

    codec_.reset(avcodec_alloc_context3(decoder));
    packet_.reset(av_packet_alloc());
    if (!codec_ || !packet_ || avcodec_parameters_to_context(codec_.get(), stream_->codecpar) < 0) {
        return false;
    }
    // Needed for the decoder to skip the encoder delay that the container announces, and to
    // move the timestamps of the frames it trims accordingly.
    codec_->pkt_timebase = stream_->time_base;
    return avcodec_open2(codec_.get(), decoder, nullptr) >= 0;
}

AudioInput::Result AudioInput::Decode(AVFrame& frame) {
    for (int errors = 0; errors < MaxConsecutiveErrors;) {
        const int received = avcodec_receive_frame(codec_.get(), &frame);
        if (received == 0) {
            return Result::Frame;
        }
        if (received == ffmpeg::ErrorEndOfFile) {
            return Result::End;
        }
        if (received != ffmpeg::ErrorAgain) {
            ++errors; // the codec has dropped the packet that failed
            continue;
        }
        if (draining_) {
            return Result::End;
        }
        if (av_read_frame(format_.get(), packet_.get()) < 0) {
            // End of file or a read error: either way, what the codec holds is still played.
            draining_ = true;
            avcodec_send_packet(codec_.get(), nullptr);
            continue;
        }
        if (packet_->stream_index == stream_->index &&
            avcodec_send_packet(codec_.get(), packet_.get()) < 0) {
            ++errors;
        }
        av_packet_unref(packet_.get());
    }
    return Result::End;
}

bool AudioInput::Seek(std::int64_t timestamp) {
    if (av_seek_frame(format_.get(), stream_->index, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
        return false;
    }
    avcodec_flush_buffers(codec_.get());
    draining_ = false;
    return true;
}

std::int64_t AudioInput::Duration() const {
    std::int64_t duration = stream_->duration;
    if (duration == ffmpeg::NoTimestamp || duration <= 0) {
        const std::int64_t whole = format_->duration;
        if (whole == ffmpeg::NoTimestamp || whole <= 0) {
            return 0;
        }
        duration = av_rescale_q(whole, AVRational{1, AV_TIME_BASE}, stream_->time_base);
    } else if (std::string_view(format_->iformat->name) == "mp3" &&
               stream_->start_time != ffmpeg::NoTimestamp && stream_->start_time > 0) {
        // The MP3 demuxer counts the encoder delay of a LAME header inside the duration and
        // announces it as the start time; the decoder drops it, so it is not heard.
        duration -= stream_->start_time;
    }
    return duration > 0 ? duration : 0;
}

} // namespace tralvo::playback
