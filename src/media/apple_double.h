#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>

namespace tralvo::media {

// A Mac copying a file to a volume that cannot keep its extended attributes (a FAT stick)
// writes them beside it as an AppleDouble companion "._Name": Finder metadata, not the file.
// A "._Song.mp3" is then no track, though its name says so.

// Whether name (a bare name) is one a companion can have: it begins with "._".
bool HasAppleDoubleName(std::string_view name);

// Whether the file at path is a companion: its name begins with "._" and its first 4 bytes are
// the AppleDouble magic 00 05 16 07. Only such names are opened, and only 4 bytes are read, so
// telling them apart costs a folder of tracks nothing. A file that cannot be read is none.
bool IsAppleDoubleCompanion(const std::string& path, FileSystem& fs);

} // namespace tralvo::media
