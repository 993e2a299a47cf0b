// The XSPF reader on any bytes, as a file named *.xspf and as one whose kind its content tells.
#include "playlist_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tralvo::fuzz::CheckPlaylist("list.xspf", data, size);
    tralvo::fuzz::CheckPlaylist("list", data, size);
    return 0;
}
