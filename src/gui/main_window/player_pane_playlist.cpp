// The Playlist button: the track list put in the order of an M3U, M3U8, PLS or XSPF playlist.
#include "gui/main_window/player_pane.h"
#include "gui/main_window/playlist_messages.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/track_list_model.h"
#include "gui/qt_text.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "media/playlists/playlist_file.h"
#include "platform/paths.h"

#include <QFileDialog>

namespace tralvo {

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
    media::playlists::PlaylistRead read;
    if (!ReadPlaylistOrSay(*path, fs_, messages_, read)) {
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

void PlayerPane::ReloadInPlaylistOrder(const std::vector<std::string>& entries,
                                       const std::string& playlistFolder) {
    Reload();
    // What names no track was either missing, which the sender said, or failed to copy, which
    // the copy said.
    ApplyPlaylist(entries, playlistFolder);
}

} // namespace tralvo
