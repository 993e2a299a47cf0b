#include "playback/audio_output.h"
#include "playback/output_format.h"

#include <SDL.h>
#include <mutex>

namespace tralvo::playback {

namespace {

// SDL keeps its audio subsystem for the whole process once it has come up; asking again
// costs nothing.
bool AudioSubsystemReady() {
    static const bool ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return ready;
}

SDL_AudioSpec WantedSpec() {
    SDL_AudioSpec spec{};
    spec.freq = OutputRate;
    spec.format = AUDIO_S16SYS;
    spec.channels = static_cast<Uint8>(OutputChannels);
    spec.samples = 2048;
    return spec;
}

class DeviceOutput final : public AudioOutput {
public:
    ~DeviceOutput() override { Stop(); }

    bool Start(MixCallback mix) override {
        Stop();
        if (!AudioSubsystemReady()) {
            return false;
        }
        mix_ = std::move(mix);
        SDL_AudioSpec want = WantedSpec();
        want.callback = &DeviceOutput::Callback;
        want.userdata = this;
        // No allowed changes: SDL converts to whatever the device needs.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (device_ == 0) {
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Stop() override {
        if (device_ != 0) {
            SDL_CloseAudioDevice(device_); // waits for a running callback to return
            device_ = 0;
        }
    }

private:
    static void Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<DeviceOutput*>(userdata);
        self->mix_(std::span(stream, static_cast<std::size_t>(length)));
    }

    MixCallback mix_;
    SDL_AudioDeviceID device_ = 0;
};

} // namespace

std::unique_ptr<AudioOutput> MakeDeviceOutput() {
    return std::make_unique<DeviceOutput>();
}

bool OutputDeviceAvailable() {
    static const bool available = [] {
        if (!AudioSubsystemReady()) {
            return false;
        }
        SDL_AudioSpec want = WantedSpec();
        want.callback = [](void*, Uint8* stream, int length) {
            SDL_memset(stream, 0, static_cast<std::size_t>(length));
        };
        const SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (probe == 0) {
            return false;
        }
        SDL_CloseAudioDevice(probe);
        return true;
    }();
    return available;
}

} // namespace tralvo::playback
