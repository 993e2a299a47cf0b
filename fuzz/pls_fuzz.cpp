// The PLS reader on any bytes, as a file named *.pls and as one whose kind its content tells.
#include "playlist_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tralvo::fuzz::CheckPlaylist("list.pls", data, size);
    tralvo::fuzz::CheckPlaylist("list", data, size);
    return 0;
}
