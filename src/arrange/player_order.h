#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

// One audio file of a player folder: its name on disk and the name the list shows.
struct ListedTrack {
    std::string name;
    std::string display;
};

// The audio files of folder in the order LoadTracks lists them, from their names (and short
// names or creation times) alone: the journal of a run records the order before it without
// reading every file's tags again.
std::vector<ListedTrack> ListPlayerOrder(const std::string& folder, std::uint8_t playerType,
                                         bool only83FileNames, FileSystem& fs);

} // namespace tralvo
