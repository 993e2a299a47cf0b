// The Playlist button: the track list put in the order of an M3U, M3U8, PLS or XSPF playlist.
#include "gui/main_window/player_pane.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/track_list_model.h"
#include "gui/qt_text.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "media/playlists/playlist_file.h"
#include "platform/paths.h"

#include <QFileDialog>
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

// Every entry on a line of its own; a long list is cut, so the box still fits the screen.
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

} // namespace

std::optional<std::string> PlayerPane::AskForPlaylist() {
    if (choosePlaylist_) {
        return choosePlaylist_();
    }
    const QString filter = CatalogueText(GetLangString("PlaylistFiles")) +
                           QStringLiteral(" (*.m3u *.m3u8 *.pls *.xspf *.M3U *.M3U8 *.PLS *.XSPF)");
    const QString chosen = QFileDialog::getOpenFileName(
        this, CatalogueText(GetLangString("PlaylistTitle")), PathText(Folder()), filter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return PathBytes(chosen);
}

void PlayerPane::ArrangeByPlaylist() {
    if (model_->Tracks().empty()) {
        return;
    }
    const std::optional<std::string> path = AskForPlaylist();
    if (!path) {
        return;
    }
    PlaylistRead read;
    try {
        read = media::playlists::ReadPlaylist(*path, fs_);
    } catch (const std::exception&) {
        // Out of memory for a playlist within the size limit: it could not be read.
        read.fault = PlaylistRead::Fault::Unreadable;
    }
    if (read.fault != PlaylistRead::Fault::None) {
        messages_.Show(ErrorMessage(MainWindowName, FaultKey(read.fault), *path));
        return;
    }
    // Its relative entries start from its own folder.
    const std::string folder = FolderRelativeTo(fs_.CurrentFolder(), ParentFolder(*path));
    const std::vector<std::string> unmatched = ApplyPlaylist(read.paths, folder);
    if (!unmatched.empty()) {
        messages_.Show(CatalogueMessage(MainWindowName, "PlaylistTitle", "PlaylistNotOnPlayer",
                                        MessageIcon::Information, MessageButtons::Ok,
                                        OneEntryALine(unmatched)));
    }
}

} // namespace tralvo
