#include "gui/main_window/playlist_messages.h"

#include "gui/main_window/window_name.h"
#include "jobs/messages.h"

#include <exception>

namespace tralvo {

namespace {

using media::playlists::PlaylistRead;

const char* FaultKey(PlaylistRead::Fault fault) {
    switch (fault) {
    case PlaylistRead::Fault::NoTracks:
        return "PlaylistNoTracks";
    case PlaylistRead::Fault::Malformed:
        return "PlaylistMalformed";
    case PlaylistRead::Fault::Unreadable:
    case PlaylistRead::Fault::None:
        break;
    }
    return "PlaylistUnreadable";
}

} // namespace

bool ReadPlaylistOrSay(const std::string& path, FileSystem& fs, Messages& messages,
                       PlaylistRead& read) {
    try {
        read = media::playlists::ReadPlaylist(path, fs);
    } catch (const std::exception&) {
        // Out of memory for a playlist within the size limit: it could not be read.
        read = {};
        read.fault = PlaylistRead::Fault::Unreadable;
    }
    if (read.fault != PlaylistRead::Fault::None) {
        messages.Show(ErrorMessage(MainWindowName, FaultKey(read.fault), path));
        return false;
    }
    return true;
}

std::string OneEntryALine(const std::vector<std::string>& entries) {
    constexpr std::size_t MaxLines = 20;
    std::string text;
    for (std::size_t i = 0; i < entries.size() && i < MaxLines; ++i) {
        text += (i == 0 ? "" : "\n") + entries[i];
    }
    if (entries.size() > MaxLines) {
        text += "\n…";
    }
    return text;
}

} // namespace tralvo
