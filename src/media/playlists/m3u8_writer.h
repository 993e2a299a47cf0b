#pragma once

#include <string>
#include <vector>

namespace tralvo::media::playlists {

// One track of an M3U8 playlist.
struct M3u8Entry {
    int seconds = -1;  // the track's length; -1 when it is not known
    std::string title; // UTF-8, what a player shows ("Artist - Title")
    std::string path;  // as its line says, relative to the playlist's folder
};

// The M3U8 text of entries: "#EXTM3U", then "#EXTINF:SECONDS,TITLE" and the path for each,
// with LF line ends. A line break in a title becomes a blank; a path that a reader would take
// for a directive, trim or read as a URI ("#1.mp3", " a.mp3", "file:a.mp3") is written after
// "./". A path holding a line
// break cannot stand in the text: it is left out and added to unwritable.
std::string WriteM3u8(const std::vector<M3u8Entry>& entries, std::vector<std::string>& unwritable);

} // namespace tralvo::media::playlists
