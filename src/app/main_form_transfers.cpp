// Upload, download and delete between the two panes.
#include "app/main_form.h"
#include "gui/qt_shell_file_operation.h"
#include "arrange/track_loading.h"
#include "arrange/transfers.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/list_commands.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/track_list_model.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QPointer>
#include <QToolButton>
#include <algorithm>

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

// The track list as the transfers change it: through its model, so the view follows.
class TrackListItems : public TrackItems {
public:
    TrackListItems(TrackListModel& model, std::function<std::string(int)> trackPath)
        : model_(model), trackPath_(std::move(trackPath)) {}
    const TrackList& Tracks() const override { return model_.Tracks(); }
    std::string PathOf(std::size_t index) const override {
        return trackPath_(static_cast<int>(index));
    }
    void Remove(std::size_t index) override { model_.RemoveTrack(static_cast<int>(index)); }
    void RenewFile(std::size_t index, std::unique_ptr<media::TSoundFile> file) override {
        model_.RenewFile(static_cast<int>(index), std::move(file));
    }
    void Append(TrackEntry entry) override { model_.AppendTrack(std::move(entry)); }

private:
    TrackListModel& model_;
    std::function<std::string(int)> trackPath_;
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

void TMainForm::ConnectTransfers() {
    connect(computerPane_, &ComputerPane::UploadRequested, this, &TMainForm::UploadBtnClick);
    connect(DownloadBtn, &QToolButton::clicked, this, &TMainForm::DownloadBtnClick);
    connect(computerPane_, &ComputerPane::DeleteRequested, this,
            [this] { LBDeleteBtnClick(computerPane_); });
    connect(MyPlayerDeleteBtn, &QToolButton::clicked, this,
            [this] { LBDeleteBtnClick(MyPlayerDeleteBtn); });
    // The desktop's copy and delete, owned by the window; tests put their own in its place.
    shell_ = new QtShellFileOperation(this, messages_, fs_);
}

void TMainForm::UploadBtnClick() {
    std::vector<std::string> names;
    for (const std::size_t row : computerPane_->SelectedRows()) {
        names.push_back(computerPane_->Files().Names()[row]);
    }
    if (names.empty() || shell_ == nullptr) {
        return;
    }
    bool appended = false;
    {
        const WindowDisabled disabled(*this);
        TrackListItems tracks(*TracksModel, [this](int index) { return TrackPath(index); });
        appended =
            UploadFiles(names, computerPane_->Folder(), MyPlayerST->Path(), tracks, *shell_, fs_);
    }
    // An upload that appended nothing leaves an arranged order as it was.
    if (appended) {
        SetTracksChanged(true);
    }
}

void TMainForm::DownloadBtnClick() {
    const std::vector<std::size_t> rows = SelectedRows(*TracksLB);
    if (rows.empty() || shell_ == nullptr) {
        return;
    }
    const WindowDisabled disabled(*this);
    TrackListItems tracks(*TracksModel, [this](int index) { return TrackPath(index); });
    FileListItems files(computerPane_->Files(), computerPane_->Folder());
    DownloadTracks(rows, tracks, computerPane_->Folder(), files, *shell_, fs_);
}

void TMainForm::LBDeleteBtnClick(QWidget* sender) {
    if (shell_ == nullptr) {
        return;
    }
    const bool fileList = sender == computerPane_;
    const std::vector<std::size_t> rows =
        fileList ? computerPane_->SelectedRows() : SelectedRows(*TracksLB);
    const WindowDisabled disabled(*this);
    const auto stop = [this] { StopBtnClick(); };
    if (fileList) {
        FileListItems files(computerPane_->Files(), computerPane_->Folder());
        DeleteItems(rows, files, player_->FileInPlay(), stop, *shell_, fs_);
    } else {
        TrackListItems tracks(*TracksModel, [this](int index) { return TrackPath(index); });
        DeleteItems(rows, tracks, player_->FileInPlay(), stop, *shell_, fs_);
    }
}

} // namespace tralvo
