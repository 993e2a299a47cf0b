#include "playback/audio_engine.h"

#include "playback/audio_output.h"
#include "playback/engine_stream.h"
#include "playback/module_loader.h"
#include "playback/output_format.h"
#include "tags/byte_source.h"
#include "tags/container_kind.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>

namespace tralvo::playback {

struct AudioEngine::State {
    // Guards the streams and the output; the output thread takes it for every buffer.
    std::mutex mutex;
    std::map<StreamHandle, std::unique_ptr<EngineStream>> streams;
    std::unique_ptr<AudioOutput> output;
    std::vector<std::int32_t> mixBuffer;
    std::vector<std::uint8_t> scratch;

    // Touched by the user-interface thread only.
    bool initialised = false;
    int device = -1;
    int error = ErrorNone;
    StreamHandle lastHandle = 0;

    std::atomic<int> volume{100};

    int Fail(int code) {
        error = code;
        return code;
    }

    EngineStream* Find(StreamHandle handle) {
        const auto it = streams.find(handle);
        return it == streams.end() ? nullptr : it->second.get();
    }

    // Takes the stream out of the engine; the caller holds the lock and frees it after
    // letting go, since its decoder may take a while to close.
    std::unique_ptr<EngineStream>
    Remove(std::map<StreamHandle, std::unique_ptr<EngineStream>>::iterator it) {
        std::unique_ptr<EngineStream> stream = std::move(it->second);
        streams.erase(it);
        return stream;
    }

    // The stream of handle, or nothing with the error set; the caller holds the lock.
    EngineStream* Lookup(StreamHandle handle) {
        EngineStream* stream = Find(handle);
        if (stream == nullptr) {
            Fail(ErrorHandle);
        }
        return stream;
    }

    // The same, with its decoder open.
    EngineStream* LookupDecodable(StreamHandle handle, int errorWithoutDecoder) {
        EngineStream* stream = Lookup(handle);
        if (stream != nullptr && !stream->EnsureDecoder()) {
            Fail(errorWithoutDecoder);
            return nullptr;
        }
        return stream;
    }

    void Mix(std::span<std::uint8_t> out);
    StreamHandle Create(const std::string& file, std::uint32_t flags, bool wma);
};

void AudioEngine::State::Mix(std::span<std::uint8_t> out) {
    std::vector<std::unique_ptr<EngineStream>> released;
    {
        const std::lock_guard lock(mutex);
        mixBuffer.assign(out.size() / BytesPerSample, 0);
        const int gain = volume.load(std::memory_order_relaxed);
        for (auto it = streams.begin(); it != streams.end();) {
            EngineStream& stream = *it->second;
            if (stream.state == EngineStream::State::Playing &&
                !stream.MixInto(mixBuffer, gain, scratch)) {
                stream.state = EngineStream::State::Stopped;
                stream.ended = true;
                if (stream.autoFree) {
                    released.push_back(Remove(it++));
                    continue;
                }
            }
            ++it;
        }
        for (std::size_t i = 0; i < mixBuffer.size(); ++i) {
            const auto sample = static_cast<std::int16_t>(
                std::clamp<std::int32_t>(mixBuffer[i], std::numeric_limits<std::int16_t>::min(),
                                         std::numeric_limits<std::int16_t>::max()));
            std::memcpy(out.data() + i * BytesPerSample, &sample, sizeof sample);
        }
    }
    // Decoders of finished streams close outside the lock.
    released.clear();
}

StreamHandle AudioEngine::State::Create(const std::string& file, std::uint32_t flags, bool wma) {
    if (!initialised) {
        Fail(ErrorInit);
        return 0;
    }
    auto stream = std::make_unique<EngineStream>();
    stream->path = file;
    stream->autoFree = (flags & AutoFreeFlag) != 0;
    const std::unique_ptr<tags::FileSource> header = tags::FileSource::Open(file);
    if (!header) {
        Fail(ErrorFileOpen);
        return 0;
    }
    const std::optional<tags::ContainerKind> container = tags::SniffContainer(header->FirstBlock());
    const bool asf = container == tags::ContainerKind::Asf;
    // A stream that is not played yet needs no decoder: a recognised container is enough, and
    // the decoder is opened when the stream is first played, measured or sought. Playback
    // needs one that decodes, so a file that cannot be played gives no stream.
    const bool accepted = wma ? asf : !asf && (stream->autoFree || container.has_value());
    if (!accepted || (stream->autoFree && !stream->EnsureDecoder())) {
        Fail(ErrorFileForm);
        return 0;
    }
    if (lastHandle == std::numeric_limits<StreamHandle>::max()) {
        Fail(ErrorMemory); // every handle of this process is used up
        return 0;
    }
    const StreamHandle handle = ++lastHandle;
    {
        const std::lock_guard lock(mutex);
        streams.emplace(handle, std::move(stream));
    }
    Fail(ErrorNone);
    return handle;
}

AudioEngine::AudioEngine() : state_(std::make_unique<State>()) {}

AudioEngine::~AudioEngine() {
    if (state_->initialised) {
        Free();
    }
}

bool AudioEngine::Init(int device, int /*frequency*/, std::uint32_t /*flags*/, void* /*window*/,
                       void* /*classId*/) {
    State& s = *state_;
    if (s.initialised) {
        s.Fail(ErrorAlready);
        return false;
    }
    if (device == -1) {
        device = FirstOutputDevice;
    }
    if (device != NoSoundDevice && device != FirstOutputDevice) {
        s.Fail(ErrorDevice);
        return false;
    }
    // The sound system is loaded and asked for its device only when something first plays:
    // the program's start reads the volume through this call and must stay quick. A machine
    // without a device then plays silently, as the "no sound" device does.
    if (device == FirstOutputDevice && !ModulePresent(OutputModuleFile())) {
        s.Fail(ErrorDevice);
        return false;
    }
    s.initialised = true;
    s.device = device;
    s.Fail(ErrorNone);
    return true;
}

bool AudioEngine::Free() {
    State& s = *state_;
    if (!s.initialised) {
        s.Fail(ErrorInit);
        return false;
    }
    // The output's last callback takes the lock, so stop it before taking the lock here.
    if (s.output) {
        s.output->Stop();
        s.output.reset();
    }
    std::map<StreamHandle, std::unique_ptr<EngineStream>> released;
    {
        const std::lock_guard lock(s.mutex);
        released.swap(s.streams);
    }
    s.initialised = false;
    s.device = -1;
    s.Fail(ErrorNone);
    return true;
}

int AudioEngine::GetVolume() {
    State& s = *state_;
    if (!s.initialised) {
        s.Fail(ErrorInit);
        return -1;
    }
    s.Fail(ErrorNone);
    return s.volume.load();
}

bool AudioEngine::SetVolume(int volume) {
    State& s = *state_;
    if (!s.initialised) {
        s.Fail(ErrorInit);
        return false;
    }
    if (volume < 0 || volume > 100) {
        s.Fail(ErrorIllegalParameter);
        return false;
    }
    s.volume.store(volume);
    s.Fail(ErrorNone);
    return true;
}

StreamHandle AudioEngine::StreamCreateFile(bool memory, const std::string& file,
                                           std::uint64_t offset, std::uint64_t length,
                                           std::uint32_t flags) {
    if (memory || offset != 0 || length != 0) {
        state_->Fail(ErrorIllegalParameter);
        return 0;
    }
    return state_->Create(file, flags, false);
}

StreamHandle AudioEngine::WmaStreamCreateFile(bool memory, const std::string& file,
                                              std::uint64_t offset, std::uint64_t length,
                                              std::uint32_t flags) {
    if (memory || offset != 0 || length != 0) {
        state_->Fail(ErrorIllegalParameter);
        return 0;
    }
    return state_->Create(file, flags, true);
}

bool AudioEngine::StreamFree(StreamHandle handle) {
    State& s = *state_;
    std::unique_ptr<EngineStream> released;
    {
        const std::lock_guard lock(s.mutex);
        const auto it = s.streams.find(handle);
        if (it == s.streams.end()) {
            s.Fail(ErrorHandle);
            return false;
        }
        released = s.Remove(it);
    }
    s.Fail(ErrorNone);
    return true;
}

bool AudioEngine::ChannelPlay(StreamHandle handle, bool restart) {
    State& s = *state_;
    {
        const std::lock_guard lock(s.mutex);
        if (s.Lookup(handle) == nullptr) {
            return false;
        }
    }
    if (!s.output) {
        const MixCallback mix = [&s](std::span<std::uint8_t> out) { s.Mix(out); };
        std::unique_ptr<AudioOutput> output;
        if (s.device == FirstOutputDevice && OutputDeviceAvailable()) {
            output = MakeDeviceOutput();
            if (output && !output->Start(mix)) {
                output.reset();
            }
        }
        if (!output) {
            output = MakeSilentOutput();
            if (!output->Start(mix)) {
                s.Fail(ErrorStart);
                return false;
            }
        }
        s.output = std::move(output);
    }
    const std::lock_guard lock(s.mutex);
    EngineStream* stream = s.LookupDecodable(handle, ErrorFileForm);
    if (stream == nullptr) {
        return false;
    }
    // A stream that played to its end starts again from the beginning.
    if (restart || stream->ended) {
        if (!stream->decoder->Seek(0)) {
            s.Fail(ErrorPosition);
            return false;
        }
        stream->position = 0;
        stream->ended = false;
    }
    stream->state = EngineStream::State::Playing;
    s.Fail(ErrorNone);
    return true;
}

bool AudioEngine::ChannelPause(StreamHandle handle) {
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    EngineStream* stream = s.Lookup(handle);
    if (stream == nullptr) {
        return false;
    }
    if (stream->state == EngineStream::State::Paused) {
        s.Fail(ErrorAlready);
        return false;
    }
    if (stream->state != EngineStream::State::Playing) {
        s.Fail(ErrorNotPlaying);
        return false;
    }
    stream->state = EngineStream::State::Paused;
    s.Fail(ErrorNone);
    return true;
}

bool AudioEngine::ChannelStop(StreamHandle handle) {
    State& s = *state_;
    std::unique_ptr<EngineStream> released;
    {
        const std::lock_guard lock(s.mutex);
        const auto it = s.streams.find(handle);
        if (it == s.streams.end()) {
            s.Fail(ErrorHandle);
            return false;
        }
        it->second->state = EngineStream::State::Stopped;
        if (it->second->autoFree) {
            released = s.Remove(it);
        }
    }
    s.Fail(ErrorNone);
    return true;
}

int AudioEngine::ErrorGetCode() const {
    return state_->error;
}

std::uint64_t AudioEngine::ChannelGetPosition(StreamHandle handle) {
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    const EngineStream* stream = s.Lookup(handle);
    if (stream == nullptr) {
        return InvalidBytes;
    }
    s.Fail(ErrorNone);
    return stream->position;
}

std::uint64_t AudioEngine::ChannelGetLength(StreamHandle handle) {
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    EngineStream* stream = s.LookupDecodable(handle, ErrorNotAvailable);
    if (stream == nullptr) {
        return InvalidBytes;
    }
    s.Fail(ErrorNone);
    return stream->decoder->LengthBytes();
}

double AudioEngine::ChannelBytes2Seconds(StreamHandle handle, std::uint64_t bytes) {
    State& s = *state_;
    {
        const std::lock_guard lock(s.mutex);
        if (s.Lookup(handle) == nullptr) {
            return -1.0;
        }
    }
    s.Fail(ErrorNone);
    return static_cast<double>(bytes) / static_cast<double>(BytesPerSecond);
}

bool AudioEngine::ChannelSetPosition(StreamHandle handle, std::uint64_t position) {
    State& s = *state_;
    const std::lock_guard lock(s.mutex);
    EngineStream* stream = s.LookupDecodable(handle, ErrorNotAvailable);
    if (stream == nullptr) {
        return false;
    }
    position -= position % BytesPerFrame;
    if (position > stream->decoder->LengthBytes() || !stream->decoder->Seek(position)) {
        s.Fail(ErrorPosition);
        return false;
    }
    stream->position = position;
    stream->ended = false;
    s.Fail(ErrorNone);
    return true;
}

AudioEngine& Engine() {
    static AudioEngine engine;
    return engine;
}

} // namespace tralvo::playback
