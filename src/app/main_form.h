#pragma once

#include "app/form_on_demand.h"
#include "platform/file_system.h"

#include <QWidget>
#include <functional>
#include <string>

class QProgressBar;
class QPushButton;
class QSplitter;
class QUrl;

namespace tralvo {

namespace media {
class TSoundFile;
}

class AnchoredPanel;
class ArrangeCommand;
class ComputerPane;
class PlayerPane;
class PlayerPanel;
class PreviewPlayer;
class GuiSettings;
class Messages;
class TSettingsForm;
class TPropertiesForm;
class TAboutForm;
class ShellFileOperation;
class TransferCommands;

// The main window: the computer pane on the left, the player pane on the right, the preview
// player's panel and the two big buttons at the bottom. The computer pane and the preview
// player own their behaviour; the window wires them to the rest. Each control bears its name
// as object name; the handlers bear the names of the controls and events they serve.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Runs the creation steps; the window stays hidden until StartupCheck shows it.
    TMainForm(GuiSettings& settings, Messages& messages, FileSystem& fs = SystemFileSystem());
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
    void SetShellFileOperation(ShellFileOperation* shell);
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

    // Controls, named as the window's layout names them.
    AnchoredPanel* BottomPanel = nullptr;
    QProgressBar* ProgressPB = nullptr;
    QPushButton* TralvoBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QWidget* ClientPanel = nullptr;
    QSplitter* ClientSplitter = nullptr;

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
    // Each part of the window binds its own controls.
    void ConnectPlayer();
    void ConnectProperties();
    // The Play button plays the current item of the list that has the focus.
    void PlayFocusedItem();
    void SettingsBtnClick();
    void AboutBtnClick();
    void ShowFileProperties(const std::string& path);
    void ShowProperties(const media::TSoundFile* file);
    void ShowFatal(const char* text);

    GuiSettings& settings_;
    Messages& messages_;
    FileSystem& fs_;
    FormOnDemand<TSettingsForm> settingsForm_;
    FormOnDemand<TPropertiesForm> propertiesForm_;
    FormOnDemand<TAboutForm> aboutForm_;
    PreviewPlayer* player_ = nullptr;
    PlayerPanel* playerPanel_ = nullptr;
    ComputerPane* computerPane_ = nullptr;
    PlayerPane* playerPane_ = nullptr;
    ArrangeCommand* arrange_ = nullptr;
    TransferCommands* transfers_ = nullptr;
    std::function<void(const QUrl&)> urlOpener_;
    bool destroyed_ = false;
    bool painted_ = false;
};

} // namespace tralvo
