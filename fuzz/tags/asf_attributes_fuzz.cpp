// Feeds any bytes to the container sniffing and the ASF attribute parser, which must neither
// crash nor give an attribute with a NUL in it or one that does not read as "name : value".
#include "tags/asf_attributes.h"
#include "text_parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tralvo::tags::FuzzTextParser(
        {data, size}, tralvo::tags::ReadAsfAttributes,
        [](std::string_view text) { return text.find(" : ") != std::string_view::npos; });
    return 0;
}
