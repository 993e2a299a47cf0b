#include "playback/engine_version.h"

#include "playback/audio_engine.h"
#include "playback/engine_libraries.h"
#include "playback/library_search.h"
#include "playback/module_loader.h"

namespace tralvo::playback {

namespace {

bool ModuleReady(const std::string& file, const std::vector<std::string>& libraries) {
    if (!ModulePresent(file)) {
        return false;
    }
    for (const std::string& soname : libraries) {
        if (!SharedLibraryResolves(soname)) {
            return false;
        }
    }
    return true;
}

} // namespace

// Asking FFmpeg and SDL2 for their versions would load them, which costs the start-up what
// loading them lazily saves (FFmpeg alone about 30 ms). What the check is for can be seen
// without loading: the modules built with this engine lie beside the program, and the
// sonames they need, which carry the major versions of the interfaces the engine was built
// for, resolve. A library of another major version has another soname and fails here. Not
// seen: a library that those libraries need in turn; decoding or the output device then
// fails cleanly when first used.
std::uint32_t AudioEngine::GetVersion() const {
    const bool ready = ModuleReady(DecoderModuleFile(), DecoderLibraries()) &&
                       ModuleReady(OutputModuleFile(), OutputLibraries());
    return ready ? (ExpectedVersion << 16) : 0;
}

bool HasExpectedVersion(const AudioEngine& engine) {
    return (engine.GetVersion() >> 16) == ExpectedVersion;
}

} // namespace tralvo::playback
