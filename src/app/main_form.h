#pragma once

#include "app/form_on_demand.h"
#include "panes/pane_list_view.h"
#include "platform/file_system.h"

#include <QWidget>
#include <functional>
#include <string>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QSlider;
class QSplitter;
class QTimer;
class QUrl;
class QToolButton;

namespace tralvo {

namespace media {
class TSoundFile;
}
namespace jobs {
struct JobOutcome;
}

class AnchoredPanel;
class FileListModel;
class TrackListModel;
class ListRowDelegate;
class PictureBox;
class Messages;
class TSettingsForm;
class TPropertiesForm;
class TAboutForm;
class ShellFileOperation;
struct ArrangeRun;
class RunObserver;
class TrackList;
class TShellTree;

// The main window: the computer pane on the left, the player pane on the right, the preview
// player and the two big buttons at the bottom. Each control bears its name as object name;
// the handlers bear the names of the controls and events they serve.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Runs the creation steps; the window stays hidden until StartupCheck shows it.
    TMainForm(Messages& messages, FileSystem& fs = SystemFileSystem());
    ~TMainForm() override;

    // The settings dialog that RunSettingsDialog shows, the properties dialog and the about
    // box: made beforehand, or by the function given when first needed.
    template <class FormOrMaker>
    void SetSettingsForm(FormOrMaker form) {
        settingsForm_.Set(std::move(form));
    }
    template <class FormOrMaker>
    void SetPropertiesForm(FormOrMaker form) {
        propertiesForm_.Set(std::move(form));
    }
    template <class FormOrMaker>
    void SetAboutForm(FormOrMaker form) {
        aboutForm_.Set(std::move(form));
    }
    // Copies and deletes files with the desktop's questions; tests answer instead.
    void SetShellFileOperation(ShellFileOperation* shell) { shell_ = shell; }
    // Opens files and web pages with the desktop's handler; tests look instead.
    void SetUrlOpener(std::function<void(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

    bool StartupCheck(bool forceFirstRun);
    bool RunSettingsDialog();
    std::string GetPlayerRoot();
    void RestoreWindowState();
    void SaveWindowState();
    // Restores a minimised window and brings it forward (a second start asks for it).
    void BringToFront();

    // Handlers.
    void SettingsBtnClick();
    void HelpBtnClick(QWidget* sender);
    void AboutBtnClick();
    void ExitBtnClick();
    void MyComputerSTChange();
    void MyComputerRefreshBtnClick();
    bool MyComputerSTDirAdd(const std::string& path);
    void FilesLBExit(QListView* list);
    void VolumeTBChange();

    // The preview player.
    void PlayBtnClick();
    void PauseBtnClick();
    void StopBtnClick();
    void PlayerTimerTimer();
    void PlayerPBMouseDown(int x);
    void PlayerStatusEBEnter();

    // Transfers between the panes.
    void UploadBtnClick();
    void DownloadBtnClick();
    void LBDeleteBtnClick(QWidget* sender);

    // The tags of one file or track.
    void MyComputerPropertiesBtnClick();
    void MyPlayerPropertiesBtnClick();

    // Editing the track list: moves, keys, drag and drop.
    void UpBtnClick();
    void DownBtnClick();
    bool FilesLBKeyDown(QKeyEvent* event);
    void FilesLBKeyUp(QKeyEvent* event);
    bool TracksLBKeyDown(QKeyEvent* event);
    bool TracksLBKeyPress(QKeyEvent* event);
    void TracksLBKeyUp(QKeyEvent* event);
    bool TracksLBStartDrag();
    bool TracksLBDragOver(QObject* source, int y);
    void TracksLBDragDrop(QObject* source);
    void TracksLBEndDrag();
    bool FilesLBStartDrag();
    bool FilesLBDragOver(QObject* source);
    void FilesLBDragDrop(QObject* source);

    // The player pane's track list.
    void LoadTrackList();
    void ShowTrackList(TrackList tracks);
    void SetTracksChanged(bool changed);
    std::string TrackPath(int index);
    void MyPlayerSTChange();
    void MyPlayerRefreshBtnClick();
    void SortBtnClick();
    void ReverseSortBtnClick();
    void ShuffleBtnClick();
    void TralvoBtnClick();
    void UndoLastRunClick();

    // The preview player's hold on the audio engine.
    void EnsureEngine();
    void ReleaseEngine();

    // Controls, named as the window's layout names them.
    AnchoredPanel* BottomPanel = nullptr;
    AnchoredPanel* PlayerPanel = nullptr;
    QLineEdit* PlayerStatusEB = nullptr;
    QToolButton* PlayBtn = nullptr;
    QToolButton* PauseBtn = nullptr;
    QToolButton* StopBtn = nullptr;
    QProgressBar* PlayerPB = nullptr;
    QLabel* VolumeLbl = nullptr;
    QSlider* VolumeTB = nullptr;
    QProgressBar* ProgressPB = nullptr;
    QPushButton* TralvoBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QWidget* ClientPanel = nullptr;
    QSplitter* ClientSplitter = nullptr;
    QWidget* MyComputerPanel = nullptr;
    QFrame* MyComputerCoolbar = nullptr;
    QWidget* MyComputerToolbar = nullptr;
    QToolButton* MyComputerRefreshBtn = nullptr;
    QToolButton* MyComputerPropertiesBtn = nullptr;
    QToolButton* UploadBtn = nullptr;
    QToolButton* MyComputerDeleteBtn = nullptr;
    QToolButton* SettingsBtn = nullptr;
    QToolButton* HelpBtn = nullptr;
    QToolButton* AboutBtn = nullptr;
    AnchoredPanel* MyComputerFolderSB = nullptr;
    PictureBox* MyComputerImg = nullptr;
    QLabel* MyComputerLbl = nullptr;
    QFrame* MyComputerShape = nullptr;
    TShellTree* MyComputerST = nullptr;
    PaneListView* FilesLB = nullptr;
    QWidget* MyPlayerPanel = nullptr;
    QFrame* MyPlayerCoolbar = nullptr;
    QWidget* MyPlayerToolbar = nullptr;
    QToolButton* MyPlayerRefreshBtn = nullptr;
    QToolButton* MyPlayerPropertiesBtn = nullptr;
    QToolButton* DownloadBtn = nullptr;
    QToolButton* MyPlayerDeleteBtn = nullptr;
    QToolButton* UpBtn = nullptr;
    QToolButton* DownBtn = nullptr;
    QToolButton* SortBtn = nullptr;
    QToolButton* ReverseSortBtn = nullptr;
    QToolButton* ShuffleBtn = nullptr;
    AnchoredPanel* MyPlayerFolderSB = nullptr;
    PictureBox* MyPlayerImg = nullptr;
    QLabel* MyPlayerLbl = nullptr;
    QFrame* MyPlayerShape = nullptr;
    TShellTree* MyPlayerST = nullptr;
    PaneListView* TracksLB = nullptr;
    QTimer* PlayerTimer = nullptr;

    FileListModel* FilesModel = nullptr;
    TrackListModel* TracksModel = nullptr;

    // Fields reset at creation.
    bool EngineReady = false;
    std::uint32_t PlayingStream = 0;
    std::string PlayingFile;
    bool TracksChanged = false;
    int DragStartIndex = -1;
    int DragCurrentIndex = -1;
    std::string TrackListFolder;
    bool SkipFolderConfirm = false;

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void BuildControls();
    void BuildBottomPanel();
    void BuildPane(bool computer);
    void LayOutPlayerPanel();
    void ConnectHandlers();
    // Each part of the window binds its own controls.
    void ConnectPlayer();
    void ConnectTransfers();
    void ConnectProperties();
    void ConnectEditing();
    void ShowProperties(const media::TSoundFile* file);
    void RunOnPlayerFolder(
        const std::function<jobs::JobOutcome(const std::string& folder, ArrangeRun& run)>& job,
        const std::function<void(const jobs::JobOutcome& outcome, RunObserver& observer)>&
            afterShown);
    // False when the user does not want to wait for the tracks of names to be made anew.
    bool RecreationAccepted(const std::vector<std::string>& names);
    void ShowFatal(const char* text);

    Messages& messages_;
    FileSystem& fs_;
    FormOnDemand<TSettingsForm> settingsForm_;
    FormOnDemand<TPropertiesForm> propertiesForm_;
    FormOnDemand<TAboutForm> aboutForm_;
    ShellFileOperation* shell_ = nullptr;
    std::function<void(const QUrl&)> urlOpener_;
    bool destroyed_ = false;
    bool painted_ = false;
};

} // namespace tralvo
