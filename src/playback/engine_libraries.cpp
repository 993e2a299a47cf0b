#include "playback/engine_libraries.h"

// Only the version macros: the engine itself links neither library.
#include <SDL_version.h>
#include <libavcodec/version_major.h>
#include <libavformat/version_major.h>
#include <libavutil/version.h>
#include <libswresample/version_major.h>

namespace tralvo::playback {

static_assert(SDL_MAJOR_VERSION == 2, "SDL 3 has other sonames");

namespace {

std::string FfmpegSoname(const char* name, int major) {
    return std::string(name) + ".so." + std::to_string(major);
}

} // namespace

std::vector<std::string> DecoderLibraries() {
    return {FfmpegSoname("libavformat", LIBAVFORMAT_VERSION_MAJOR),
            FfmpegSoname("libavcodec", LIBAVCODEC_VERSION_MAJOR),
            FfmpegSoname("libswresample", LIBSWRESAMPLE_VERSION_MAJOR),
            FfmpegSoname("libavutil", LIBAVUTIL_VERSION_MAJOR)};
}

std::vector<std::string> OutputLibraries() {
    return {"libSDL2-2.0.so.0"};
}

} // namespace tralvo::playback
