#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QListView;

namespace tralvo {

class FileListModel;
class FileSystem;
class PaneListView;
class FolderTree;
struct UserSettings;

// Whether the computer tree shows a folder: the player's own folder never shows there.
// Compared exactly: on this system two folders may differ only in letter case.
bool ShownInComputerTree(const std::string& path, const std::string& playerRoot);

// The computer pane, the main window's left half: its tool bar, the computer's folder tree
// and the audio files of the folder chosen there. It asks for what concerns the rest of the
// window (playing, transfers, the dialogs) by its signals.
class ComputerPane : public QWidget {
    Q_OBJECT
public:
    // playerRoot gives the player's folder, which the tree leaves out.
    ComputerPane(const UserSettings& settings, FileSystem& fs,
                 std::function<std::string()> playerRoot, QWidget* parent = nullptr);

    std::string Folder() const;
    void ShowFolder(const std::string& path);
    // Reads the tree again, as when the player's folder may have changed.
    void RefreshTree();

    // The folder's audio files and playlists; downloads add to them and deletes take from them.
    const FileListModel& Files() const { return *files_; }
    FileListModel& Files() { return *files_; }
    std::vector<std::size_t> SelectedRows() const;
    // The file to play: the list's current file while the list has the focus and no more
    // than one file is selected.
    std::optional<std::string> FileToPlay() const;
    // The path of the one file selected when it is a playlist: uploading it sends the files it
    // names instead.
    std::optional<std::string> SelectedPlaylist() const;

    // Tracks dragged from list may be dropped on the file list: they are downloaded.
    void AcceptDropsFrom(const QObject* list) { dropSource_ = list; }
    // The window's drags and tab order run through these.
    QListView* List() const;
    QWidget* Tree() const;

signals:
    void PlayRequested(const std::string& path);
    void UploadRequested();
    void DownloadRequested();
    void DeleteRequested();
    void PropertiesRequested(const std::string& path);
    void SettingsRequested();
    void HelpRequested();
    void AboutRequested();

private:
    void ShowFilesOfFolder();
    void Refresh();
    void RequestProperties();
    bool KeyDown(const QKeyEvent& event);

    FileSystem& fs_;
    std::function<std::string()> playerRoot_;
    FolderTree* tree_ = nullptr;
    FileListModel* files_ = nullptr;
    PaneListView* list_ = nullptr;
    const QObject* dropSource_ = nullptr;
};

} // namespace tralvo
