// The M3U and M3U8 reader on any bytes, as files named *.m3u and *.m3u8 and as one whose kind its
// content tells.
#include "playlist_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tralvo::fuzz::CheckPlaylist("list.m3u", data, size);
    tralvo::fuzz::CheckPlaylist("list.m3u8", data, size);
    tralvo::fuzz::CheckPlaylist("list", data, size);
    return 0;
}
