#include "playback/audio_engine.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wconversion"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
}
#pragma GCC diagnostic pop

#include <SDL.h>

namespace tralvo::playback {

namespace {

constexpr unsigned MajorOf(unsigned version) {
    return version >> 16;
}

// A library of another major version has another interface: the engine would misbehave, so
// the start-up check must see a different version.
bool RuntimeLibrariesMatch() {
    SDL_version linked{};
    SDL_GetVersion(&linked);
    return MajorOf(avformat_version()) == LIBAVFORMAT_VERSION_MAJOR &&
           MajorOf(avcodec_version()) == LIBAVCODEC_VERSION_MAJOR &&
           MajorOf(avutil_version()) == LIBAVUTIL_VERSION_MAJOR &&
           MajorOf(swresample_version()) == LIBSWRESAMPLE_VERSION_MAJOR &&
           linked.major == SDL_MAJOR_VERSION;
}

} // namespace

std::uint32_t AudioEngine::GetVersion() const {
    static const bool match = RuntimeLibrariesMatch();
    return match ? (ExpectedVersion << 16) : 0;
}

} // namespace tralvo::playback
