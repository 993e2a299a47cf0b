#include "gui/main_window/player_pane.h"

#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/transfers.h"
#include "gui/gui_settings.h"
#include "gui/main_window/event_hook.h"
#include "gui/main_window/list_commands.h"
#include "gui/main_window/pane_parts.h"
#include "gui/main_window/window_name.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/icons.h"
#include "gui/panes/list_work.h"
#include "gui/panes/pane_list_view.h"
#include "gui/panes/track_list_model.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "jobs/clean_player_folder.h"
#include "jobs/message_box_observer.h"
#include "jobs/messages.h"

#include <QBoxLayout>
#include <QToolButton>

namespace tralvo {

namespace {

// The track list as the transfers change it: through its model, so the view follows.
class TrackListItems : public TrackItems {
public:
    explicit TrackListItems(TrackListModel& model, const PlayerPane& pane)
        : model_(model), pane_(pane) {}
    const TrackList& Tracks() const override { return model_.Tracks(); }
    std::string PathOf(std::size_t index) const override {
        return pane_.TrackPath(static_cast<int>(index));
    }
    void Remove(std::size_t index) override { model_.RemoveTrack(static_cast<int>(index)); }
    void RenewFile(std::size_t index, std::unique_ptr<media::SoundFile> file) override {
        model_.RenewFile(static_cast<int>(index), std::move(file));
    }
    void Append(TrackEntry entry) override { model_.AppendTrack(std::move(entry)); }

private:
    TrackListModel& model_;
    const PlayerPane& pane_;
};

} // namespace

PlayerPane::PlayerPane(GuiSettings& settings, std::function<std::string()> playerRoot,
                       Messages& messages, FileSystem& fs, QWidget* parent)
    : QWidget(parent), settings_(settings.Get()), playerRoot_(std::move(playerRoot)),
      messages_(messages), fs_(fs) {
    setObjectName(QStringLiteral("MyPlayerPanel"));
    Build();
    items_ = std::make_unique<TrackListItems>(*model_, *this);
    ConnectEditing();
    tree_->SetRootDir("/");
    connect(tree_, &FolderTree::Change, this, &PlayerPane::FolderChosen);
    connect(&settings, &GuiSettings::Changed, this, &PlayerPane::FollowSettings);
    // A double click anywhere in the list plays its current track, as the Play button does.
    new EventHook(list_->viewport(), [this](QEvent& event) {
        if (event.type() == QEvent::MouseButtonDblClick) {
            if (const std::optional<std::string> path = TrackToPlay()) {
                emit PlayRequested(*path);
            }
        }
        return false;
    });
}

PlayerPane::~PlayerPane() = default;

void PlayerPane::Build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const PaneToolbar bar = AddPaneToolbar(*this, "MyPlayerCoolbar", "MyPlayerToolbar");
    toolbar_ = bar.toolbar;
    QToolButton* refresh = AddToolButton(toolbar_, "MyPlayerRefreshBtn", 0);
    AddSeparator(toolbar_, "Separator3");
    QToolButton* properties = AddToolButton(toolbar_, "MyPlayerPropertiesBtn", 1);
    QToolButton* download = AddToolButton(toolbar_, "DownloadBtn", 7);
    QToolButton* remove = AddToolButton(toolbar_, "MyPlayerDeleteBtn", 3);
    QToolButton* clean = AddToolButton(toolbar_, "MyPlayerCleanBtn", 13);
    AddSeparator(toolbar_, "Separator4");
    QToolButton* up = AddToolButton(toolbar_, "UpBtn", 8);
    QToolButton* down = AddToolButton(toolbar_, "DownBtn", 9);
    AddSeparator(toolbar_, "Separator5");
    QToolButton* sort = AddToolButton(toolbar_, "SortBtn", 10);
    QToolButton* reverse = AddToolButton(toolbar_, "ReverseSortBtn", 11);
    QToolButton* shuffle = AddToolButton(toolbar_, "ShuffleBtn", 12);
    QToolButton* playlist = AddToolButton(toolbar_, "PlaylistBtn", 14);
    QToolButton* exportList = AddToolButton(toolbar_, "ExportPlaylistBtn", 15);

    tree_ = AddFolderBox(
                *this,
                {"MyPlayerFolderSB", "MyPlayerImg", "MyPlayerLbl", "MyPlayerShape", "MyPlayerST"},
                PlayerHeaderIcon(), fs_)
                .tree;
    model_ = new TrackListModel(this);
    list_ = AddPaneList(*this, "TracksLB", model_, true, settings_.LargeFileIconsAtStart);
    // Assistive technology names the tree and the list after the pane's caption.
    SetNamedBy(*tree_, "MyPlayerLbl");
    SetNamedBy(*list_, "MyPlayerLbl");
    RedrawSelectionOnFocusOut(*list_);

    connect(refresh, &QToolButton::clicked, this, &PlayerPane::RefreshClicked);
    connect(properties, &QToolButton::clicked, this, &PlayerPane::RequestProperties);
    connect(download, &QToolButton::clicked, this, &PlayerPane::DownloadRequested);
    connect(remove, &QToolButton::clicked, this, &PlayerPane::DeleteRequested);
    connect(clean, &QToolButton::clicked, this, &PlayerPane::CleanClicked);
    connect(up, &QToolButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down, &QToolButton::clicked, this, [this] { MoveCurrent(1); });
    connect(sort, &QToolButton::clicked, this, [this] { Sort(false); });
    connect(reverse, &QToolButton::clicked, this, [this] { Sort(true); });
    connect(shuffle, &QToolButton::clicked, this, &PlayerPane::Shuffle);
    connect(playlist, &QToolButton::clicked, this, &PlayerPane::ArrangeByPlaylist);
    connect(exportList, &QToolButton::clicked, this, &PlayerPane::ExportPlaylist);
}

std::string PlayerPane::RootDir() const {
    return tree_->RootDir();
}

void PlayerPane::SetRootDir(const std::string& root) {
    tree_->SetRootDir(root);
}

std::string PlayerPane::Folder() const {
    return tree_->Path();
}

void PlayerPane::ShowFolder(const std::string& path) {
    tree_->SetPath(path);
}

void PlayerPane::RefreshTree() {
    tree_->Refresh();
}

void PlayerPane::Reload() {
    const std::string folder = Folder();
    order_ = settings_.Order();
    Show(folder.empty() ? TrackList{} : LoadTracks(folder, order_, fs_));
    NoteJunk();
}

void PlayerPane::NoteJunk() {
    emit FolderNote(CatalogueText(jobs::JunkNote(Folder(), fs_)));
}

void PlayerPane::Show(TrackList tracks) {
    {
        const ListWork work(*list_);
        model_->SetTracks(std::move(tracks));
    }
    SetChanged(false);
}

const TrackList& PlayerPane::Tracks() const {
    return model_->Tracks();
}

std::string PlayerPane::TrackPath(int index) const {
    const TrackList& tracks = model_->Tracks();
    if (index < 0 || static_cast<std::size_t>(index) >= tracks.size()) {
        return {};
    }
    const TrackEntry& entry = tracks[static_cast<std::size_t>(index)];
    // Under file-name order the display string lacks the file's order prefix.
    if (order_.type == PlayerType::FileNames) {
        return entry.file ? entry.file->FileName() : std::string();
    }
    return FolderWithSlash(Folder()) + entry.display;
}

void PlayerPane::SetChanged(bool changed) {
    changed_ = changed;
    emit ChangedMarked(changed);
}

TrackItems& PlayerPane::Items() {
    return *items_;
}

std::vector<std::size_t> PlayerPane::SelectedRows() const {
    return tralvo::SelectedRows(*list_);
}

std::optional<std::string> PlayerPane::TrackToPlay() const {
    const int index = RowToPlay(*list_);
    if (index < 0) {
        return std::nullopt;
    }
    return TrackPath(index);
}

QListView* PlayerPane::List() const {
    return list_;
}

QWidget* PlayerPane::Tree() const {
    return tree_;
}

void PlayerPane::FollowSettings() {
    // The player root is a volume's mount point or a folder: comparing whole roots tells a
    // new player apart also where two player folders lie on one volume.
    const std::string root = playerRoot_();
    if (FolderWithSlash(RootDir()) != FolderWithSlash(root)) {
        // Another player: its list replaces this one without asking.
        skipFolderQuestion_ = true;
        SetRootDir(root);
        emit PlayerRootChanged();
    }
    // Against the order the shown list was read under, not the one before the change: the new
    // player's list above was read under the new order already.
    if (settings_.Order() != order_) {
        Reload();
    }
}

void PlayerPane::FolderChosen() {
    const std::string folder = Folder();
    // Paths compare exactly: on this system "Music" and "music" may be two folders.
    if (FolderWithSlash(folder) == FolderWithSlash(listFolder_)) {
        skipFolderQuestion_ = false;
        return;
    }
    if (!skipFolderQuestion_ && !AskBeforeThrowingAway("ChangeDirAlthoughChanged")) {
        tree_->SetPath(listFolder_); // back where the list came from
        return;
    }
    skipFolderQuestion_ = false;
    listFolder_ = folder;
    // A run cut off in this folder (a player unplugged, a battery run down) left its tracks in
    // temporary places: offer to put them back before they are listed.
    OfferRecovery(folder);
    Reload();
}

void PlayerPane::RefreshClicked() {
    tree_->Refresh();
    if (!AskBeforeThrowingAway("RefreshAlthoughChanged")) {
        return;
    }
    if (!Folder().empty()) {
        OfferRecovery(Folder());
    }
    Reload();
}

void PlayerPane::CleanClicked() {
    const std::string folder = Folder();
    if (folder.empty() || !jobs::CleanPlayerFolder(folder, fs_, messages_, MainWindowName)) {
        return;
    }
    // What went was never a track: an arranged list keeps its order, only the note follows.
    if (changed_) {
        NoteJunk();
    } else {
        Reload();
    }
}

// An arranged list is thrown away only when the user says so.
bool PlayerPane::AskBeforeThrowingAway(const char* textKey) {
    return !changed_ ||
           messages_.Show(QuestionMessage(MainWindowName, window()->windowTitle().toStdString(),
                                          textKey)) == MessageAnswer::Yes;
}

void PlayerPane::OfferRecovery(const std::string& folder) {
    MessageBoxObserver dialogue(messages_, MainWindowName);
    tralvo::OfferRecovery(FolderWithSlash(folder), fs_, dialogue);
}

void PlayerPane::RequestProperties() {
    const int row = SingleSelectedRow(*list_);
    const TrackList& tracks = model_->Tracks();
    if (row < 0 || static_cast<std::size_t>(row) >= tracks.size()) {
        return;
    }
    // The record the list built when it loaded: nothing is read again.
    emit PropertiesRequested(tracks[static_cast<std::size_t>(row)].file.get());
}

} // namespace tralvo
