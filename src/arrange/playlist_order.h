#pragma once

#include "arrange/loaded_folder.h"
#include "platform/file_system.h"

#include <string>
#include <vector>

namespace tralvo {

// A player folder's list put in a playlist's order.
struct PlaylistMatch {
    // Positions into the list (order[i] is the entry to stand at i), every track once: those the
    // playlist names in its order, then the others in the order they had.
    std::vector<std::size_t> order;
    // The playlist's entries that name no track of the folder, as the playlist gives them.
    std::vector<std::string> unmatched;
};

// The folder a playlist's entry lies in, with a '/' at its end; a relative entry starts from
// playlistFolder.
std::string FolderOfPlaylistEntry(const std::string& entry, const std::string& playlistFolder);

// Matches a playlist's entries (paths as ReadPlaylist gives them; relative ones relative to
// playlistFolder) to the tracks of loaded by file name, in the letter-case rules of the
// folder's volume. An entry in the player folder itself names a file on disk, so its name is
// tried against the names on disk first and the names shown second; an entry of a playlist
// made on the computer for the same files lies in another folder and names the file the list
// shows, so the shown names come first there. Under file-name order an entry with an order
// prefix that no file carries any longer ("{07}a.mp3" after another arrange) is tried without
// it. An entry that names a track placed already counts once, at its first place; a name that
// several tracks show takes them in list order, one per entry.
PlaylistMatch MatchPlaylist(const LoadedFolder& loaded, const std::vector<std::string>& entries,
                            const std::string& playlistFolder, FileSystem& fs);

// Puts tracks, the list of folder read under order, in the order of the playlist's entries
// (MatchPlaylist); gives the entries that name no track.
std::vector<std::string> OrderByPlaylist(TrackList& tracks, const std::string& folder,
                                         PlayerOrder order, const std::vector<std::string>& entries,
                                         const std::string& playlistFolder, FileSystem& fs);

} // namespace tralvo
