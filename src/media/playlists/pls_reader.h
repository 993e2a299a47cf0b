#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tralvo::media::playlists {

// The entries of a PLS playlist: the values of "File1=", "File2=", ... in the "[playlist]"
// section (or before any section), in the order of their numbers whatever the order of the
// lines; keys in any letter case. A number given twice keeps its first line. Text is UTF-8
// when its bytes are, else Latin-1. Throws PlaylistError for binary text or an overlong line.
std::vector<std::string> ReadPls(std::string_view text);

} // namespace tralvo::media::playlists
