#pragma once

#include "arrange/player_type.h"
#include "arrange/track_list.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QListView;
class QToolButton;

namespace tralvo {

namespace media {
class SoundFile;
}

class FileSystem;
class Messages;
class PaneListView;
class TrackItems;
class TrackListModel;
class FolderTree;
class GuiSettings;
struct UserSettings;

// The player pane, the main window's right half: its tool bar, the player's folder tree and
// the track list of the folder chosen there, which the user puts in order. It keeps the
// list's changed mark, asks before an arranged list is thrown away, and offers to put back
// the tracks of a run that was cut off. What concerns the rest of the window it asks for by
// its signals.
class PlayerPane : public QWidget {
    Q_OBJECT
public:
    // playerRoot gives the player's folder as the settings name it; the pane follows a change
    // of the settings to another player or another order.
    PlayerPane(GuiSettings& settings, std::function<std::string()> playerRoot, Messages& messages,
               FileSystem& fs, QWidget* parent = nullptr);
    ~PlayerPane() override;

    // The player's root folder, and the folder chosen below it.
    std::string RootDir() const;
    void SetRootDir(const std::string& root);
    std::string Folder() const;
    void ShowFolder(const std::string& path);
    // Reads the tree again, as when the player was plugged in meanwhile.
    void RefreshTree();

    // Tracks a job read back from the folder.
    void Show(TrackList tracks);
    const TrackList& Tracks() const;
    // The order the shown list was read under.
    PlayerOrder Order() const { return order_; }
    // The file of the track at index, under the order the list was read under.
    std::string TrackPath(int index) const;

    // Whether the list's order differs from the folder's; every change of the mark is
    // signalled, so what depends on it can follow.
    bool Changed() const { return changed_; }
    void SetChanged(bool changed);

    // The tracks as transfers change them: through the list's model, so the view follows.
    TrackItems& Items();
    std::vector<std::size_t> SelectedRows() const;
    // The track to play: the list's current track while the list has the focus and no more
    // than one track is selected.
    std::optional<std::string> TrackToPlay() const;

    // What the Playlist button asks for the playlist to arrange by: a file dialog, unless a test
    // answers instead. Nothing when the user cancels.
    using PlaylistChooser = std::function<std::optional<std::string>()>;
    void SetPlaylistChooser(PlaylistChooser choose) { choosePlaylist_ = std::move(choose); }
    // Where the export button saves the list: a save dialog that starts at suggested and asks
    // before it replaces a file, unless a test answers instead. Nothing when the user cancels.
    using ExportChooser = std::function<std::optional<std::string>(const std::string& suggested)>;
    void SetExportChooser(ExportChooser choose) { chooseExport_ = std::move(choose); }

    // The folder's tracks read anew and put in the order of a playlist's entries (relative ones
    // relative to playlistFolder), marked as changed, as after a sort.
    void ReloadInPlaylistOrder(const std::vector<std::string>& entries,
                               const std::string& playlistFolder);

    // Files dragged from list may be dropped on the track list: they are uploaded.
    void AcceptDropsFrom(const QObject* list) { dropSource_ = list; }
    // The window's drags, tab order and width run through these.
    QListView* List() const;
    QWidget* Tree() const;
    QWidget* Toolbar() const { return toolbar_; }

signals:
    void ChangedMarked(bool changed);
    // The settings named another player: the tree shows its folder now.
    void PlayerRootChanged();
    void PlayRequested(const std::string& path);
    // file is null when the selected track could not be read.
    void PropertiesRequested(const media::SoundFile* file);
    void DownloadRequested();
    void DeleteRequested();
    void UploadRequested();
    void UndoRequested();
    // What the status line is to say about the folder just loaded; empty for nothing.
    void FolderNote(const QString& note);

private:
    void Build();
    void ConnectEditing();
    // The folder's tracks read anew under the settings' order.
    void Reload();
    void FollowSettings();
    void FolderChosen();
    void RefreshClicked();
    void CleanClicked();
    void NoteJunk();
    bool AskBeforeThrowingAway(const char* textKey);
    void OfferRecovery(const std::string& folder);
    void RequestProperties();

    // Editing: moves by buttons, keys and drags; the whole-list orderings.
    void MoveCurrent(int by);
    bool KeyDown(const QKeyEvent& event);
    bool KeyPress(const QKeyEvent& event);
    bool StartDrag();
    bool DragOver(QObject* source, int y);
    void Drop(QObject* source);
    void EndDrag();
    void Sort(bool reverse);
    void Shuffle();
    // The list in the order of a playlist the user chooses, as after a sort.
    void ArrangeByPlaylist();
    std::optional<std::string> AskForPlaylist();
    // The shown list saved as an M3U8 playlist where the user chooses.
    void ExportPlaylist();
    std::optional<std::string> AskWhereToExport(const std::string& suggested);
    // The list in the order of the entries; gives those that name no track.
    std::vector<std::string> ApplyPlaylist(const std::vector<std::string>& entries,
                                           const std::string& playlistFolder);
    template <typename Change>
    void Reorder(Change&& change);

    const UserSettings& settings_;
    std::function<std::string()> playerRoot_;
    Messages& messages_;
    FileSystem& fs_;
    QWidget* toolbar_ = nullptr;
    FolderTree* tree_ = nullptr;
    TrackListModel* model_ = nullptr;
    PaneListView* list_ = nullptr;
    std::unique_ptr<TrackItems> items_;
    const QObject* dropSource_ = nullptr;
    PlaylistChooser choosePlaylist_;
    ExportChooser chooseExport_;

    PlayerOrder order_{};
    std::string listFolder_;
    bool changed_ = false;
    bool skipFolderQuestion_ = false;
    int dragStart_ = -1;
    int dragCurrent_ = -1;
};

} // namespace tralvo
