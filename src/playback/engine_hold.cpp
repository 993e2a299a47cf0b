#include "playback/engine_hold.h"

#include <utility>

namespace tralvo::playback {

namespace {

// Init's frequency, flags, window and class are not used by this engine.
constexpr int Frequency = 44100;

} // namespace

Result<EngineHold> EngineHold::Open(Device device, AudioEngine& engine) {
    const int number = device == Device::Silent ? NoSoundDevice : FirstOutputDevice;
    if (!engine.Init(number, Frequency, 0, nullptr, nullptr)) {
        return FailureOf(engine);
    }
    return EngineHold(engine);
}

Result<EngineHold> EngineHold::OpenOutputOrSilent(AudioEngine& engine) {
    Result<EngineHold> hold = Open(Device::FirstOutput, engine);
    if (!hold) {
        return Open(Device::Silent, engine);
    }
    return hold;
}

EngineHold::EngineHold(EngineHold&& other) noexcept
    : engine_(std::exchange(other.engine_, nullptr)) {}

EngineHold& EngineHold::operator=(EngineHold&& other) noexcept {
    if (this != &other) {
        Free();
        engine_ = std::exchange(other.engine_, nullptr);
    }
    return *this;
}

EngineHold::~EngineHold() {
    Free();
}

void EngineHold::Free() {
    if (engine_ != nullptr) {
        engine_->Free();
        engine_ = nullptr;
    }
}

Result<int> EngineHold::Volume() const {
    if (engine_ == nullptr) {
        return Outcome::NotInitialised;
    }
    const int volume = engine_->GetVolume();
    if (volume < 0) {
        return FailureOf(*engine_);
    }
    return volume;
}

Outcome EngineHold::SetVolume(int volume) {
    if (engine_ == nullptr) {
        return Outcome::NotInitialised;
    }
    return engine_->SetVolume(volume) ? Outcome::Ok : FailureOf(*engine_);
}

// The engine releases the stream by itself once it is stopped or has played to its end, as a
// preview wants: nothing is left playing or holding a file that nobody looks at.
Result<Stream> EngineHold::OpenStream(const std::string& path) {
    if (engine_ == nullptr) {
        return Outcome::NotInitialised;
    }
    return StreamOf(engine_->StreamCreateFile(false, path, 0, 0, AutoFreeFlag));
}

Result<Stream> EngineHold::OpenWmaStream(const std::string& path) {
    if (engine_ == nullptr) {
        return Outcome::NotInitialised;
    }
    return StreamOf(engine_->WmaStreamCreateFile(false, path, 0, 0, AutoFreeFlag));
}

Result<Stream> EngineHold::StreamOf(StreamHandle handle) {
    if (handle == 0) {
        return FailureOf(*engine_);
    }
    return Stream(*engine_, handle);
}

} // namespace tralvo::playback
