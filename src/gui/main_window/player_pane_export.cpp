// The export button: the shown list saved as an M3U8 playlist.
#include "arrange/track_list_m3u8.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/playlist_messages.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/track_list_model.h"
#include "gui/qt_text.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

#include <QFileDialog>
#include <cerrno>
#include <exception>
#include <system_error>

namespace tralvo {

std::optional<std::string> PlayerPane::AskWhereToExport(const std::string& suggested) {
    if (chooseExport_) {
        return chooseExport_(suggested);
    }
    // The dialog itself asks before it replaces a file.
    const QString chosen =
        QFileDialog::getSaveFileName(this, CatalogueText(GetLangString("ExportPlaylistTitle")),
                                     PathText(suggested), QStringLiteral("M3U8 (*.m3u8 *.M3U8)"));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return PathBytes(chosen);
}

void PlayerPane::ExportPlaylist() {
    const std::string folder = WithoutTrailingSlashes(listFolder_);
    if (model_->Tracks().empty() || folder.empty()) {
        return;
    }
    const std::string name(BaseName(folder));
    const std::optional<std::string> path =
        AskWhereToExport(FolderWithSlash(folder) + (name.empty() ? "Player" : name) + ".m3u8");
    if (!path) {
        return;
    }
    // Saved beside the tracks the lines name them alone, as a player expects; elsewhere by
    // their whole paths.
    const std::string from = FolderRelativeTo(fs_.CurrentFolder(), ParentFolder(*path));
    const bool beside = from == FolderWithSlash(folder);
    std::vector<std::string> unwritable;
    Status written;
    try {
        const std::string text = TrackListM3u8(model_->Tracks(), unwritable,
                                               beside ? std::string() : FolderWithSlash(folder));
        written = WriteFileAtomically(*path, text);
    } catch (const std::exception&) {
        written = Status::Failure(ENOMEM, "write " + *path);
    }
    if (!written.ok()) {
        MessageRequest failed = ErrorMessage(MainWindowName, "ExportPlaylistError", *path);
        failed.reason = written.code() > 0 ? std::generic_category().message(written.code())
                                           : written.message();
        messages_.Show(failed);
        return;
    }
    if (!unwritable.empty()) {
        messages_.Show(CatalogueMessage(MainWindowName, "ExportPlaylistTitle",
                                        "ExportPlaylistLeftOut", MessageIcon::Warning,
                                        MessageButtons::Ok, OneEntryALine(unwritable)));
    }
}

} // namespace tralvo
