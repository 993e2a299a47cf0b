#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo::media::playlists {

enum class PlaylistKind { M3u, M3u8, Pls, Xspf };

// The kind of a playlist by the extension of its path in any letter case (.m3u, .m3u8, .pls,
// .xspf); for another extension by how text begins: "[playlist]" is PLS, "<" XML, anything
// else a plain list of paths (M3U).
PlaylistKind KindOfPlaylist(std::string_view path, std::string_view text);

// A playlist's entries in order, as paths in UTF-8 with '/' between components (relative ones
// relative to the playlist's folder), or why there are none.
struct PlaylistRead {
    std::vector<std::string> paths;
    std::string problem; // empty when the playlist was read
    // The kind of problem, for a window's message in the user's language.
    enum class Fault { None, Unreadable, NoTracks, Malformed } fault = Fault::None;
};

// Larger than any playlist of a player's tracks; a larger file is refused unread.
inline constexpr std::uint64_t MaxPlaylistSize = 16 * 1024 * 1024;

// The entries of a playlist's text, of the kind its path tells. A playlist that is empty or
// names no entry is a problem too.
PlaylistRead ReadPlaylistText(std::string_view path, std::string_view text);

// The same for the playlist file at path, read through fs; its size is checked before it is
// read.
PlaylistRead ReadPlaylist(const std::string& path, FileSystem& fs);

} // namespace tralvo::media::playlists
