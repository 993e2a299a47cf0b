#pragma once

#include "media/playlists/playlist_file.h"

#include <string>
#include <vector>

namespace tralvo {

class FileSystem;
class Messages;

// The playlist at path as the window's commands read it; false, after an error box saying why,
// when it cannot be used.
bool ReadPlaylistOrSay(const std::string& path, FileSystem& fs, Messages& messages,
                       media::playlists::PlaylistRead& read);

// Every entry on a line of its own for a message box; a long list is cut, so the box still fits
// the screen.
std::string OneEntryALine(const std::vector<std::string>& entries);

} // namespace tralvo
