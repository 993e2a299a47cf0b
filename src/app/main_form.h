#pragma once

#include "gui/widgets/form_on_demand.h"
#include "gui/panes/pane_list_view.h"
#include "platform/file_system.h"

#include <QWidget>
#include <functional>
#include <string>

class QFrame;
class QKeyEvent;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QSplitter;
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
class ComputerPane;
class PlayerPanel;
class PreviewPlayer;
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
// player's panel and the two big buttons at the bottom. The computer pane and the preview
// player own their behaviour; the window wires them to the rest. Each control bears its name
// as object name; the handlers bear the names of the controls and events they serve.
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
    void HelpBtnClick(QWidget* sender);
    void ExitBtnClick();

    // Transfers between the panes.
    void UploadBtnClick();
    void DownloadBtnClick();
    void LBDeleteBtnClick(QWidget* sender);

    // The tags of one track.
    void MyPlayerPropertiesBtnClick();

    // Editing the track list: moves, keys, drag and drop.
    void UpBtnClick();
    void DownBtnClick();
    bool TracksLBKeyDown(QKeyEvent* event);
    bool TracksLBKeyPress(QKeyEvent* event);
    void TracksLBKeyUp(QKeyEvent* event);
    bool TracksLBStartDrag();
    bool TracksLBDragOver(QObject* source, int y);
    void TracksLBDragDrop(QObject* source);
    void TracksLBEndDrag();

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

    // Controls, named as the window's layout names them.
    AnchoredPanel* BottomPanel = nullptr;
    QProgressBar* ProgressPB = nullptr;
    QPushButton* TralvoBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QWidget* ClientPanel = nullptr;
    QSplitter* ClientSplitter = nullptr;
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

    TrackListModel* TracksModel = nullptr;

    // Fields reset at creation.
    bool TracksChanged = false;
    int DragStartIndex = -1;
    int DragCurrentIndex = -1;
    std::string TrackListFolder;
    bool SkipFolderConfirm = false;

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void BuildControls();
    void BuildBottomPanel();
    void BuildPlayerPane();
    void ConnectHandlers();
    // Each part of the window binds its own controls.
    void ConnectPlayer();
    void ConnectTransfers();
    void ConnectProperties();
    void ConnectEditing();
    // The Play button plays the current item of the list that has the focus.
    void PlayFocusedItem();
    // Nothing may play while a run or a delete changes the files.
    void StopBtnClick();
    void SettingsBtnClick();
    void AboutBtnClick();
    void ShowFileProperties(const std::string& path);
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
    PreviewPlayer* player_ = nullptr;
    PlayerPanel* playerPanel_ = nullptr;
    ComputerPane* computerPane_ = nullptr;
    ShellFileOperation* shell_ = nullptr;
    std::function<void(const QUrl&)> urlOpener_;
    bool destroyed_ = false;
    bool painted_ = false;
};

} // namespace tralvo
