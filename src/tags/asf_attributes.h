#pragma once

#include "tags/byte_source.h"

#include <optional>
#include <string>
#include <vector>

namespace tralvo::tags {

// The attributes of an ASF (WMA) file as "name : value" texts in file order: Title, Author
// and the other fields of the content description object, then the extended content
// description object's attributes (WM/AlbumTitle, WM/Year, WM/TrackNumber, ...), numbers
// as decimal text. Nothing when the source is not ASF or its header is broken.
std::optional<std::vector<std::string>> ReadAsfAttributes(ByteSource& source);

} // namespace tralvo::tags
