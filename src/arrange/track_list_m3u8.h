#pragma once

#include "arrange/track_list.h"
#include "media/playlists/m3u8_writer.h"

#include <string>
#include <vector>

namespace tralvo {

// The list as an M3U8 playlist in the player folder: each track's name on disk, so that a
// player or another program finds the file, its length where a tag gives it, and
// "ARTIST - TITLE" (the title alone without an artist, the name shown without a title) in
// UTF-8, tag text read as the list shows it. Names that no M3U8 line can hold are added to
// unwritable. A playlist kept outside the player folder names the files by folder + name.
std::string TrackListM3u8(const TrackList& tracks, std::vector<std::string>& unwritable,
                          const std::string& folder = {});

} // namespace tralvo
