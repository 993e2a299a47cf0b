#pragma once

#include "playback/audio_output.h"
#include "playback/decoder.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tralvo::playback {

// The engine's heavy libraries live in two modules beside the program, so that the program
// starts without them: FFmpeg's decoder, loaded when a stream is first decoded, and SDL2's
// output, loaded when the first output device is first asked for. Each module exports one
// function, named below, that gives its entry table.

// Raised whenever an entry table changes: a module left over from another build is refused.
constexpr std::uint32_t ModuleInterfaceVersion = 1;

struct DecoderModuleEntry {
    std::uint32_t interfaceVersion;
    std::unique_ptr<Decoder> (*open)(const std::string& path);
};

struct OutputModuleEntry {
    std::uint32_t interfaceVersion;
    bool (*deviceAvailable)();
    std::unique_ptr<AudioOutput> (*makeDeviceOutput)();
};

inline constexpr char DecoderModuleEntryName[] = "tralvo_decoder_module_entry";
inline constexpr char OutputModuleEntryName[] = "tralvo_output_module_entry";

} // namespace tralvo::playback
