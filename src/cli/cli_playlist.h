#pragma once

#include "arrange/track_list.h"
#include "cli/cli_tracks.h"

#include <string>
#include <vector>

namespace tralvo::cli {

// A playlist read for arrange: its entries and the folder its relative entries start from.
struct PlaylistInput {
    std::vector<std::string> entries;
    std::string folder;
};

// Reads the playlist at path; false, after an "Error: PATH: PROBLEM" line on standard error,
// when it cannot be read or names no track.
bool ReadPlaylistFile(const std::string& path, PlaylistInput& playlist);

// Puts the tracks of folder in the playlist's order (MatchPlaylist), saying on standard error
// "Not on the player: NAME" for each entry that names no track; the others keep their order
// after the named ones.
void OrderByPlaylist(TrackList& tracks, const std::string& folder, const ListingOptions& listing,
                     const PlaylistInput& playlist);

} // namespace tralvo::cli
