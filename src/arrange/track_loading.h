#pragma once

#include "arrange/player_type.h"
#include "arrange/track_list.h"
#include "platform/file_system.h"
// Many callers of this header join folder and name with FolderWithSlash.
#include "platform/paths.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// The length of the order prefix at the start of name ("{" digits "}", up to the first "}"),
// or 0 when there is none.
std::size_t OrderPrefixLength(std::string_view name);

// One audio file of a player folder: its name on disk and the name the list shows.
struct ListedTrack {
    std::string name;
    std::string display;
};

// The audio files of folder (regular files, or links to them; no AppleDouble companions) in
// the order the file system lists them (directory order), order prefixes left out of the names
// shown for file-name order (PlayerType::FileNames). A folder that cannot be read gives none.
std::vector<ListedTrack> ListAudioFiles(const std::string& folder, PlayerType type, FileSystem& fs);

// The audio files of folder as the player will play them: in the order the file system
// lists them (directory order), by full or short 8.3 path (file-name order; order prefixes
// left out of the names shown) or by creation time, ties keeping the listing's order. A
// folder that cannot be read gives an empty list.
TrackList LoadTracks(const std::string& folder, PlayerOrder order, FileSystem& fs);

} // namespace tralvo
