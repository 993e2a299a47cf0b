#pragma once

#include "tags/byte_source.h"

#include <optional>
#include <string>
#include <vector>

namespace tralvo::tags {

// The comments of an Ogg Vorbis stream exactly as stored ("name=value", names in the case
// the file has them, repeated names repeated), in file order, parsed from the comment header
// packet of the first logical stream. Nothing when the source is not Ogg Vorbis or the
// header is broken; an empty list when the header holds no comments. A comment ends at its first
// NUL byte, as all tag text does (latin1_text.h); so an empty comment, or one that starts with
// NUL, is an empty entry, which names no field.
std::optional<std::vector<std::string>> ReadVorbisComments(ByteSource& source);

} // namespace tralvo::tags
