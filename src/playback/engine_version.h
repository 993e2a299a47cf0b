#pragma once

#include "playback/audio_engine.h"

namespace tralvo::playback {

// The engine's modules lie beside the program and find the libraries of the major versions
// they were built with (GetVersion has ExpectedVersion in its high 16 bits).
bool HasExpectedVersion(const AudioEngine& engine = Engine());

} // namespace tralvo::playback
