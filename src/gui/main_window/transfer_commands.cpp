#include "gui/main_window/transfer_commands.h"

#include "arrange/playlist_send.h"
#include "arrange/transfers.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/playlist_messages.h"
#include "gui/main_window/preview_player.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/core/file_listing.h"
#include "gui/panes/file_list_model.h"
#include "gui/qt_shell_file_operation.h"
#include "jobs/messages.h"
#include "platform/paths.h"

#include <QListView>
#include <QPointer>
#include <QWidget>

namespace tralvo {

namespace {

// The whole window stays disabled while a transfer runs, so no other command can start in
// the middle of it. Disabling takes the focus away; it goes back to where it was, since
// the preview player plays from the list that has it.
class WindowDisabled {
public:
    explicit WindowDisabled(QWidget& window) : window_(window), focus_(window.focusWidget()) {
        window_.setEnabled(false);
    }
    ~WindowDisabled() {
        window_.setEnabled(true);
        if (focus_ != nullptr) {
            focus_->setFocus();
        }
    }
    WindowDisabled(const WindowDisabled&) = delete;
    WindowDisabled& operator=(const WindowDisabled&) = delete;

private:
    QWidget& window_;
    QPointer<QWidget> focus_;
};

// The file list, whose items are names in the computer folder.
class FileListItems : public NameItems {
public:
    FileListItems(FileListModel& model, std::string folder)
        : model_(model), folder_(FolderWithSlash(std::move(folder))) {}
    const std::vector<std::string>& Names() const override { return model_.Names(); }
    std::string PathOf(std::size_t index) const override { return folder_ + Names()[index]; }
    void Remove(std::size_t index) override { model_.RemoveRow(static_cast<int>(index)); }
    void Append(std::string name) override { model_.AppendName(std::move(name)); }

private:
    FileListModel& model_;
    std::string folder_;
};

} // namespace

TransferCommands::TransferCommands(QWidget& window, ComputerPane& computer, PlayerPane& player,
                                   PreviewPlayer& preview, Messages& messages, FileSystem& fs)
    : QObject(&window), window_(window), computer_(computer), player_(player), preview_(preview),
      messages_(messages), fs_(fs) {
    connect(&computer_, &ComputerPane::UploadRequested, this, &TransferCommands::Upload);
    connect(&player_, &PlayerPane::UploadRequested, this, &TransferCommands::Upload);
    connect(&computer_, &ComputerPane::DownloadRequested, this, &TransferCommands::Download);
    connect(&player_, &PlayerPane::DownloadRequested, this, &TransferCommands::Download);
    connect(&computer_, &ComputerPane::DeleteRequested, this, [this] { Delete(true); });
    connect(&player_, &PlayerPane::DeleteRequested, this, [this] { Delete(false); });
    // Tracks dropped on the file list are downloaded, files dropped on the track list uploaded.
    computer_.AcceptDropsFrom(player_.List());
    player_.AcceptDropsFrom(computer_.List());
    // The desktop's copy and delete, owned by the window; tests put their own in its place.
    shell_ = new QtShellFileOperation(&window_, messages, fs_);
}

void TransferCommands::Upload() {
    if (const std::optional<std::string> playlist = computer_.SelectedPlaylist()) {
        SendPlaylist(*playlist);
        return;
    }
    std::vector<std::string> names;
    for (const std::size_t row : computer_.SelectedRows()) {
        // Playlists name files elsewhere; on the player they would be tracks of nothing.
        if (!IsPlaylistFileName(computer_.Files().Names()[row])) {
            names.push_back(computer_.Files().Names()[row]);
        }
    }
    if (names.empty() || shell_ == nullptr) {
        return;
    }
    bool appended = false;
    {
        const WindowDisabled disabled(window_);
        appended =
            UploadFiles(names, computer_.Folder(), player_.Folder(), player_.Items(), *shell_, fs_);
    }
    // An upload that appended nothing leaves an arranged order as it was.
    if (appended) {
        player_.SetChanged(true);
    }
}

void TransferCommands::SendPlaylist(const std::string& path) {
    const std::string playerFolder = player_.Folder();
    if (shell_ == nullptr || playerFolder.empty() || !fs_.FolderExists(playerFolder)) {
        return;
    }
    media::playlists::PlaylistRead read;
    if (!ReadPlaylistOrSay(path, fs_, messages_, read)) {
        return;
    }
    const std::string playlistFolder = FolderRelativeTo(fs_.CurrentFolder(), ParentFolder(path));
    const PlaylistSendPlan plan =
        PlanPlaylistSend(read.paths, playlistFolder, playerFolder, player_.Tracks(), fs_);
    if (!plan.copies.empty()) {
        std::vector<std::string> sources;
        std::vector<std::string> targets;
        for (const FileToSend& copy : plan.copies) {
            sources.push_back(copy.source);
            targets.push_back(copy.target);
        }
        const WindowDisabled disabled(window_);
        // The desktop's copy asks before it replaces a file, as an upload does.
        shell_->Copy(sources, targets);
    }
    if (!plan.missing.empty()) {
        messages_.Show(CatalogueMessage(MainWindowName, "SendPlaylistTitle", "SendPlaylistMissing",
                                        MessageIcon::Warning, MessageButtons::Ok,
                                        OneEntryALine(plan.missing)));
    }
    player_.ReloadInPlaylistOrder(read.paths, playlistFolder);
}

void TransferCommands::Download() {
    const std::vector<std::size_t> rows = player_.SelectedRows();
    if (rows.empty() || shell_ == nullptr) {
        return;
    }
    const WindowDisabled disabled(window_);
    FileListItems files(computer_.Files(), computer_.Folder());
    DownloadTracks(rows, player_.Items(), computer_.Folder(), files, *shell_, fs_);
}

void TransferCommands::Delete(bool fileList) {
    if (shell_ == nullptr) {
        return;
    }
    const std::vector<std::size_t> rows =
        fileList ? computer_.SelectedRows() : player_.SelectedRows();
    const WindowDisabled disabled(window_);
    const auto stop = [this] { preview_.Stop(); };
    if (fileList) {
        FileListItems files(computer_.Files(), computer_.Folder());
        DeleteItems(rows, files, preview_.FileInPlay(), stop, *shell_, fs_);
    } else {
        DeleteItems(rows, player_.Items(), preview_.FileInPlay(), stop, *shell_, fs_);
    }
}

} // namespace tralvo
