#pragma once

#include "arrange/track_loading.h"
#include "platform/file_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

// The audio files of folder in the order LoadTracks lists them, from their names (and short
// names or creation times) alone: the journal of a run records the order before it without
// reading every file's tags again.
std::vector<ListedTrack> ListPlayerOrder(const std::string& folder, PlayerOrder order,
                                         FileSystem& fs);

} // namespace tralvo
