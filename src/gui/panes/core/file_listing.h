#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// Whether a file name's extension (from its last '.'), with A to Z lower-cased, is one the
// program plays: ".mp3", ".ogg", ".wma" or ".wav".
bool IsAudioFileName(std::string_view name);

// The audio files of folder (plain, hidden and read-only files alike; no subfolders, no
// AppleDouble companions), in the order the file system gives them. A folder that cannot be read
// gives an empty list.
std::vector<std::string> AudioFileNamesIn(const std::string& folder, FileSystem& fs);

} // namespace tralvo
