#pragma once

#include "gui/widgets/form_on_demand.h"
#include "platform/file_system.h"
#include "settings/player_switch.h"

#include <QWidget>
#include <functional>
#include <string>

class QProgressBar;
class QPushButton;
class QSplitter;
class QUrl;

namespace tralvo {

namespace media {
class SoundFile;
}

class AnchoredPanel;
class ArrangeCommand;
class ComputerPane;
class GuiSettings;
class Messages;
class PlayerPane;
class PlayerPanel;
class PreviewPlayer;
class ShellFileOperation;
class AboutBox;
class PropertiesDialog;
class TransferCommands;
class SettingsDialog;
class VolumeWatcher;
struct UserSettings;

// The main window: the computer pane on the left, the player pane on the right, the preview
// player's panel and the two big buttons at the bottom. The panes, the preview player and
// the commands own their behaviour; the window lays them out, wires them together, asks
// before it closes on an arranged list and keeps its own state for the next start. Each
// control bears its name as object name.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the window; it stays hidden until StartupCheck shows it.
    MainWindow(GuiSettings& settings, Messages& messages, FileSystem& fs = SystemFileSystem());
    ~MainWindow() override;

    // The settings dialog, the properties dialog and the about box: made beforehand, or by
    // the function given when first needed.
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
    void SetShellFileOperation(ShellFileOperation* shell);
    // Opens files and web pages with the desktop's handler; tests look instead.
    void SetUrlOpener(std::function<void(const QUrl&)> opener) { urlOpener_ = std::move(opener); }
    // Tells which player volume holds a folder; tests name volumes without devices.
    void SetPlayerVolumeFinder(PlayerVolumeFinder find) { findPlayerVolume_ = std::move(find); }

    // The first run's settings, or the check that the player is there; shows the window when
    // the program may go on.
    bool StartupCheck(bool forceFirstRun);
    // Restores a minimised window and brings it forward (a second start asks for it).
    void BringToFront();
    // The help handler, shared with the settings dialog and the about box.
    void HelpBtnClick(QWidget* sender);

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void BuildControls();
    void BuildBottomPanel();
    void ConnectHandlers();
    void ConnectPlayer();
    void ConnectProperties();
    void ConnectPlayerVolumes();
    void RestoreWindowState();
    void SaveWindowState();
    // Where the player pane goes when the window starts or another player takes over.
    void ShowLastPlayerFolder();
    // Volumes came or went: the player root may now lie on another player, whose settings
    // then take over.
    void FollowPlayerVolume();
    void FollowPlayerChange(const UserSettings& before);
    std::string GetPlayerRoot();
    bool RunSettingsDialog(bool firstRun = false);
    // The Play button plays the current item of the list that has the focus.
    void PlayFocusedItem();
    void AboutBtnClick();
    void ShowFileProperties(const std::string& path);
    void ShowProperties(const media::SoundFile* file);
    void ShowFatal(const char* text);

    GuiSettings& settings_;
    Messages& messages_;
    FileSystem& fs_;
    FormOnDemand<SettingsDialog> settingsForm_;
    FormOnDemand<PropertiesDialog> propertiesForm_;
    FormOnDemand<AboutBox> aboutForm_;
    std::function<void(const QUrl&)> urlOpener_;
    PlayerVolumeFinder findPlayerVolume_;
    VolumeWatcher* playerVolumes_ = nullptr;

    AnchoredPanel* bottomPanel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* tralvoButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QSplitter* splitter_ = nullptr;
    PreviewPlayer* player_ = nullptr;
    PlayerPanel* playerPanel_ = nullptr;
    ComputerPane* computerPane_ = nullptr;
    PlayerPane* playerPane_ = nullptr;
    ArrangeCommand* arrange_ = nullptr;
    TransferCommands* transfers_ = nullptr;
    bool destroyed_ = false;
    bool painted_ = false;
};

} // namespace tralvo
