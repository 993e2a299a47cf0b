// Creates a sound file record from arbitrary bytes saved as an MP3 file: ID3v2, then ID3v1.
#include "media/sound_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& ScratchFile() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::atexit([] { ::unlink(ScratchFile().c_str()); });
        return std::string(folder != nullptr ? folder : "/tmp") + "/tralvo-fuzz-" +
               std::to_string(::getpid()) + ".mp3";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    tralvo::media::SoundFile sound(ScratchFile());
    (void)sound.HasTag();
    return 0;
}
