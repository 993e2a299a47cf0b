#include "playback/decoder.h"
#include "playback/module_loader.h"

namespace tralvo::playback {

std::unique_ptr<Decoder> Decoder::Open(const std::string& path) {
    const auto* module =
        LoadModule<DecoderModuleEntry>(DecoderModuleFile(), DecoderModuleEntryName);
    return module != nullptr ? module->open(path) : nullptr;
}

} // namespace tralvo::playback
