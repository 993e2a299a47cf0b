#pragma once

namespace tralvo::playback {

// How a call of the engine's C++ shape went: Ok, or why it failed. Given back by each call,
// so a caller never reads the engine's last error code.
enum class Outcome {
    Ok,
    NotInitialised,
    Already, // the engine is held already, or the stream is paused already
    NoSuchDevice,
    CannotOpenFile,
    UnsupportedFile, // no container the call opens, or nothing in it that decodes
    StreamGone,      // freed, stopped, played to its end, or moved from
    OutOfRange,      // a seek outside the stream
    InvalidArgument,
    NotPlaying,
    NotAvailable, // no decoder for the stream's length or a seek
    OutputFailed,
    OutOfMemory,
    Unknown,
};

class AudioEngine;

// Why the engine's call that has just failed did, from its last error code; never Ok.
Outcome FailureOf(const AudioEngine& engine);

} // namespace tralvo::playback
