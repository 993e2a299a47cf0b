#pragma once

#include "playback/audio_engine.h"
#include "playback/outcome.h"
#include "playback/result.h"

namespace tralvo::playback {

class EngineHold;

// A stream of the engine, opened through an EngineHold, that frees itself when dropped. The
// engine releases it by itself once it is stopped or has played to its end, and with every
// other stream when the hold ends; its calls then fail with StreamGone. A moved-from stream is
// inert: its calls fail the same way and it frees nothing. It must not outlive the engine.
class Stream {
public:
    Stream(Stream&& other) noexcept;
    Stream& operator=(Stream&& other) noexcept;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    ~Stream();

    // Plays from where the stream stands: resumes a paused stream where it paused.
    Outcome Play();
    // Already when the stream is paused already, NotPlaying when it does not play.
    Outcome Pause();
    Outcome Stop();

    // In seconds.
    [[nodiscard]] Result<double> Position() const;
    [[nodiscard]] Result<double> Length() const;
    // OutOfRange before the start or past the end.
    Outcome SeekTo(double seconds);

    // The stream's handle in the engine's table; 0 once moved from.
    StreamHandle Handle() const { return handle_; }

private:
    friend class EngineHold;
    Stream(AudioEngine& engine, StreamHandle handle) : engine_(&engine), handle_(handle) {}

    void Free();
    Outcome OutcomeOf(bool succeeded) const;
    Result<double> Seconds(std::uint64_t bytes) const;

    AudioEngine* engine_ = nullptr;
    StreamHandle handle_ = 0;
};

} // namespace tralvo::playback
