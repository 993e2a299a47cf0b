#include "playback/audio_output.h"
#include "playback/engine_modules.h"
#include "playback/output_format.h"

#include <SDL.h>
#include <mutex>

namespace tralvo::playback {

namespace {

// SDL keeps its audio subsystem for the whole process once it has come up; asking again
// costs nothing.
bool AudioSubsystemReady() {
    static const bool ready = [] {
        // SDL would otherwise catch SIGINT and SIGTERM for an event loop this program does not
        // run, and the program could no longer be ended by them (a desktop session's logout).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }();
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

std::unique_ptr<AudioOutput> OpenDeviceOutput() {
    return std::make_unique<DeviceOutput>();
}

bool DeviceAvailable() {
    static const bool available = [] {
        if (!AudioSubsystemReady()) {
            return false;
        }
        // Counting the devices costs nothing. Opening one to see costs up to two buffers'
        // time (about 90 ms) at the close, which waits for SDL's audio thread to wake from
        // the sleep it takes while the device is paused; only a driver that cannot count its
        // devices is asked that way.
        const int devices = SDL_GetNumAudioDevices(0);
        if (devices >= 0) {
            return devices > 0;
        }
        SDL_AudioSpec want = WantedSpec();
        want.samples = 256;
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

} // namespace
} // namespace tralvo::playback

extern "C" __attribute__((visibility("default"))) const tralvo::playback::OutputModuleEntry*
tralvo_output_module_entry() {
    static constexpr tralvo::playback::OutputModuleEntry entry{
        tralvo::playback::ModuleInterfaceVersion, &tralvo::playback::DeviceAvailable,
        &tralvo::playback::OpenDeviceOutput};
    return &entry;
}
