#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace tralvo::playback {

// Called on the output's own thread with a buffer to fill in the output format.
using MixCallback = std::function<void(std::span<std::uint8_t>)>;

// Where mixed sound goes. Start begins calling the callback in real time; Stop returns once
// the callback has run for the last time.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual bool Start(MixCallback mix) = 0;
    virtual void Stop() = 0;
};

// Plays in real time without making a sound: the "no sound" device.
std::unique_ptr<AudioOutput> MakeSilentOutput();

// The first output device of the system, through SDL2 in the output module; null when the
// module cannot be loaded.
std::unique_ptr<AudioOutput> MakeDeviceOutput();

// Whether the system has an output device; asked of SDL2 once per process, which loads the
// output module. False when the module cannot be loaded.
bool OutputDeviceAvailable();

} // namespace tralvo::playback
