#include "cli/cli_playlist.h"

#include "arrange/playlist_order.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "media/playlists/playlist_file.h"
#include "platform/paths.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tralvo::cli {

bool ReadPlaylistFile(const std::string& path, PlaylistInput& playlist) {
    media::playlists::PlaylistRead read = media::playlists::ReadPlaylist(path, ToolFileSystem());
    if (!read.problem.empty()) {
        std::fprintf(stderr, "Error: %s: %s\n", EscapeField(path).c_str(),
                     EscapeField(read.problem).c_str());
        return false;
    }
    // The playlist's own folder as the player folder is given: links resolved.
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    playlist.folder = FolderWithSlash(
        (error ? std::filesystem::absolute(path, error) : resolved).parent_path().string());
    playlist.entries = std::move(read.paths);
    return true;
}

void OrderByPlaylist(TrackList& tracks, const std::string& folder, const ListingOptions& listing,
                     const PlaylistInput& playlist) {
    for (const std::string& entry : OrderByPlaylist(tracks, folder, listing, playlist.entries,
                                                    playlist.folder, ToolFileSystem())) {
        std::fprintf(stderr, "Not on the player: %s\n", EscapeField(entry).c_str());
    }
}

} // namespace tralvo::cli
