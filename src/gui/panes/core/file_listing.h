#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// Whether a file name's extension (from its last '.'), with A to Z lower-cased, is one the
// program plays: ".mp3", ".ogg", ".wma" or ".wav".
bool IsAudioFileName(std::string_view name);

// Whether a file name's extension, in any letter case, is that of a playlist the program reads:
// ".m3u", ".m3u8", ".pls" or ".xspf".
bool IsPlaylistFileName(std::string_view name);

// The audio files and playlists of folder (plain, hidden and read-only files alike; no
// subfolders, no AppleDouble companions), in the order the file system gives them: what the
// file list shows. A folder that cannot be read gives an empty list.
std::vector<std::string> FileListNamesIn(const std::string& folder, FileSystem& fs);

} // namespace tralvo
