// Feeds any bytes to the container sniffing and the Ogg Vorbis comment parser, which must
// neither crash nor give a comment with a NUL in it.
#include "tags/vorbis_comments.h"
#include "text_parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tralvo::tags::FuzzTextParser({data, size}, tralvo::tags::ReadVorbisComments,
                                 [](std::string_view) { return true; });
    return 0;
}
