#pragma once

#include "arrange/track_list.h"
#include "platform/file_system.h"

#include <string>
#include <vector>

namespace tralvo {

// One file a playlist names, and where a copy of it goes in the player folder.
struct FileToSend {
    std::string source; // the file the entry names
    std::string target; // its name in the player folder, or the file of the track showing it
    // Whether a different file (or anything that is no file) already holds target, or an earlier
    // file of the same playlist goes there: the copy would replace it.
    bool replaces = false;
};

// What sending a playlist's files to a player folder takes.
struct PlaylistSendPlan {
    // In the playlist's order; a file already in the player folder with the same bytes is left
    // out, and so is a repeat of a file sent already.
    std::vector<FileToSend> copies;
    // Entries, as the playlist gives them, whose files do not exist (or are no files of bytes).
    std::vector<std::string> missing;
};

// Plans the copies of the files a playlist names (paths as ReadPlaylist gives them; relative
// ones relative to playlistFolder) into playerFolder, each under its own name. A track of
// tracks (the folder's list) that shows the name, or whose file bears it, holds the name
// already: under file-name order its file carries an order prefix. So does any entry of that
// name in the folder. Two files are the same when their ContentIds are, links followed; names
// compare in the letter-case rules of the folder's volume.
PlaylistSendPlan PlanPlaylistSend(const std::vector<std::string>& entries,
                                  const std::string& playlistFolder,
                                  const std::string& playerFolder, const TrackList& tracks,
                                  FileSystem& fs);

} // namespace tralvo
