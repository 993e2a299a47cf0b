#include "playback/audio_output.h"
#include "playback/module_loader.h"

namespace tralvo::playback {

namespace {

const OutputModuleEntry* OutputModule() {
    return LoadModule<OutputModuleEntry>(OutputModuleFile(), OutputModuleEntryName);
}

} // namespace

std::unique_ptr<AudioOutput> MakeDeviceOutput() {
    const OutputModuleEntry* module = OutputModule();
    return module != nullptr ? module->makeDeviceOutput() : nullptr;
}

bool OutputDeviceAvailable() {
    const OutputModuleEntry* module = OutputModule();
    return module != nullptr && module->deviceAvailable();
}

} // namespace tralvo::playback
