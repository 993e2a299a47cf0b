#include "playback/stream.h"

#include "playback/output_format.h"
#include "playback/play_time.h"

#include <utility>

namespace tralvo::playback {

Stream::Stream(Stream&& other) noexcept
    : engine_(std::exchange(other.engine_, nullptr)), handle_(std::exchange(other.handle_, 0)) {}

Stream& Stream::operator=(Stream&& other) noexcept {
    if (this != &other) {
        Free();
        engine_ = std::exchange(other.engine_, nullptr);
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

Stream::~Stream() {
    Free();
}

// A stream that the engine has released already is refused harmlessly: handles are never
// reused, so the call cannot free another stream.
void Stream::Free() {
    if (handle_ != 0) {
        engine_->StreamFree(handle_);
        handle_ = 0;
    }
}

Outcome Stream::OutcomeOf(bool succeeded) const {
    return succeeded ? Outcome::Ok : FailureOf(*engine_);
}

Outcome Stream::Play() {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    return OutcomeOf(engine_->ChannelPlay(handle_, false));
}

Outcome Stream::Pause() {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    return OutcomeOf(engine_->ChannelPause(handle_));
}

Outcome Stream::Stop() {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    return OutcomeOf(engine_->ChannelStop(handle_));
}

// Asks the engine rather than dividing here: the answer then also says whether the stream is
// still there.
Result<double> Stream::Seconds(std::uint64_t bytes) const {
    if (bytes == InvalidBytes) {
        return FailureOf(*engine_);
    }
    const double seconds = engine_->ChannelBytes2Seconds(handle_, bytes);
    if (seconds < 0) {
        return FailureOf(*engine_);
    }
    return seconds;
}

Result<double> Stream::Position() const {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    return Seconds(engine_->ChannelGetPosition(handle_));
}

Result<double> Stream::Length() const {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    return Seconds(engine_->ChannelGetLength(handle_));
}

Outcome Stream::SeekTo(double seconds) {
    if (handle_ == 0) {
        return Outcome::StreamGone;
    }
    if (!(seconds >= 0)) { // NaN as well
        return Outcome::OutOfRange;
    }
    // To the nearest byte, as the position bar has always sought; the engine then goes back
    // to the start of the frame.
    const auto bytes =
        static_cast<std::uint64_t>(RoundHalfEven(seconds * static_cast<double>(BytesPerSecond)));
    return OutcomeOf(engine_->ChannelSetPosition(handle_, bytes));
}

} // namespace tralvo::playback
