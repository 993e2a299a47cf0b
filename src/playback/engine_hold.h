#pragma once

#include "playback/audio_engine.h"
#include "playback/outcome.h"
#include "playback/result.h"
#include "playback/stream.h"

#include <string>

namespace tralvo::playback {

enum class Device {
    FirstOutput,
    Silent, // plays in real time without output
};

// The engine initialised on a device for as long as the hold lives. Order of use: open the
// hold, open streams through it, play, pause, stop, measure and seek them, drop them; the
// hold's end frees the engine with every stream left. The engine has one hold at a time:
// another Open fails with Already and leaves the first alone. A moved-from hold frees nothing.
class EngineHold {
public:
    static Result<EngineHold> Open(Device device, AudioEngine& engine = Engine());
    // What a preview wants: without an output device the silent one plays in real time.
    static Result<EngineHold> OpenOutputOrSilent(AudioEngine& engine = Engine());

    EngineHold(EngineHold&& other) noexcept;
    EngineHold& operator=(EngineHold&& other) noexcept;
    EngineHold(const EngineHold&) = delete;
    EngineHold& operator=(const EngineHold&) = delete;
    ~EngineHold();

    // The volume of the whole process, 0..100; it outlasts the hold.
    [[nodiscard]] Result<int> Volume() const;
    Outcome SetVolume(int volume);

    // A stream of the whole file, not playing yet. WMA files open only through OpenWmaStream,
    // other files only through OpenStream.
    [[nodiscard]] Result<Stream> OpenStream(const std::string& path);
    [[nodiscard]] Result<Stream> OpenWmaStream(const std::string& path);

private:
    explicit EngineHold(AudioEngine& engine) : engine_(&engine) {}

    void Free();
    Result<Stream> StreamOf(StreamHandle handle);

    AudioEngine* engine_ = nullptr;
};

} // namespace tralvo::playback
