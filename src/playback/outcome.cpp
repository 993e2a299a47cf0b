#include "playback/outcome.h"

#include "playback/audio_engine.h"

namespace tralvo::playback {

namespace {

Outcome OutcomeOfCode(int code) {
    switch (code) {
    case ErrorNone:
        return Outcome::Ok;
    case ErrorMemory:
        return Outcome::OutOfMemory;
    case ErrorFileOpen:
        return Outcome::CannotOpenFile;
    case ErrorDriver:
    case ErrorStart:
        return Outcome::OutputFailed;
    case ErrorHandle:
        return Outcome::StreamGone;
    case ErrorFormat:
    case ErrorFileForm:
        return Outcome::UnsupportedFile;
    case ErrorPosition:
        return Outcome::OutOfRange;
    case ErrorInit:
        return Outcome::NotInitialised;
    case ErrorAlready:
        return Outcome::Already;
    case ErrorIllegalParameter:
        return Outcome::InvalidArgument;
    case ErrorDevice:
        return Outcome::NoSuchDevice;
    case ErrorNotPlaying:
        return Outcome::NotPlaying;
    case ErrorNotAvailable:
        return Outcome::NotAvailable;
    default:
        return Outcome::Unknown;
    }
}

} // namespace

Outcome FailureOf(const AudioEngine& engine) {
    const Outcome outcome = OutcomeOfCode(engine.ErrorGetCode());
    return outcome == Outcome::Ok ? Outcome::Unknown : outcome;
}

} // namespace tralvo::playback
