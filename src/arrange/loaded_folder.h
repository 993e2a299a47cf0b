#pragma once

#include "arrange/player_type.h"
#include "arrange/track_list.h"
#include "platform/file_system.h"

#include <string>

namespace tralvo {

// A player folder's tracks, and the order they were loaded under: a job reads a folder back
// under the order it was shown in.
struct LoadedFolder {
    std::string folder; // ending in '/'
    PlayerOrder order;
    TrackList tracks;
};

// folder's tracks as the player will play them under order (LoadTracks).
LoadedFolder LoadPlayerFolder(const std::string& folder, PlayerOrder order, FileSystem& fs);

} // namespace tralvo
