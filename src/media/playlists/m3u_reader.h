#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tralvo::media::playlists {

// The entries of an M3U or M3U8 playlist, as paths with '/' between components, in order:
// every line that is not empty and does not start with '#' ("#EXTM3U", "#EXTINF:..." and the
// other directives). An M3U8 is UTF-8 and taken as it stands; an M3U is UTF-8 when its bytes
// are, else Latin-1. Throws PlaylistError for binary text or an overlong line.
std::vector<std::string> ReadM3u(std::string_view text, bool utf8);

} // namespace tralvo::media::playlists
