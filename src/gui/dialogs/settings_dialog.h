#pragma once

#include "gui/widgets/design_layout.h"
#include "gui/widgets/dialog_links.h"
#include "jobs/order_probe_job.h"
#include "platform/file_system.h"
#include "settings/player_drive_choices.h"
#include "settings/player_switch.h"

#include <QDialog>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tralvo {

class PictureBox;

class GuiSettings;
class Messages;
class MultiLineCheckBox;
class MultiLineRadioButton;
class OneLineLabel;

// The settings dialog: applies the user's changes to the settings it was given when the user
// confirms with OK, which tells whoever follows them. Made when first opened, then kept and
// shown modally each time.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The help button runs help with the dialog as sender.
    SettingsDialog(GuiSettings& settings, Messages& messages, HelpHandler help,
                   UrlOpener openUrl = SystemUrlOpener(), FileSystem& fs = SystemFileSystem(),
                   QWidget* parent = nullptr);

    // The next showing selects the one player volume mounted, if there is one, in place of
    // the stored drive: what a first run offers.
    void OfferMountedPlayer() { offerMountedPlayer_ = true; }
    // Tells which player volume holds a folder; tests name volumes without devices.
    void SetPlayerVolumeFinder(PlayerVolumeFinder find) { findPlayerVolume_ = std::move(find); }

    // What the order probe does on the player; the real probe unless a test says otherwise.
    void SetOrderProbe(jobs::OrderProbeOperations probe) { probe_ = std::move(probe); }

public slots:
    void PlayerTypeChange();
    void OKBtnClick();
    void CancelBtnClick();
    void CompListBtnClick();
    void ProbeBtnClick();
    void HelpBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormShow();
    DesignScale ScaleToTexts();
    void LayOut(const DesignScale& scale);
    void SelectDrive(const std::string& playerDrive);
    void SelectPlayerType(PlayerType type);
    const PlayerDriveChoice* ChosenDrive() const;
    void FitDriveListPopup();
    // The player of the chosen drive: its name above the player type, and the type and 8.3
    // option it keeps.
    std::optional<PlayerVolume> ChosenPlayer() const;
    void ShowChosenPlayer();

    GuiSettings& settings_;
    Messages& messages_;
    HelpHandler help_;
    UrlOpener openUrl_;
    FileSystem& fs_;
    std::vector<PlayerDriveChoice> driveChoices_;
    bool offerMountedPlayer_ = false;
    PlayerVolumeFinder findPlayerVolume_;
    jobs::OrderProbeOperations probe_;

    PictureBox* ImageImg = nullptr;
    QLabel* PlayerDriveLbl = nullptr;
    QComboBox* PlayerDriveCB = nullptr;
    OneLineLabel* PlayerVolumeLbl = nullptr;
    QLabel* PlayerTypeLbl = nullptr;
    QRadioButton* UsingFATRB = nullptr;
    QRadioButton* SortingByFilenameRB = nullptr;
    MultiLineCheckBox* Only83FileNamesCB = nullptr;
    MultiLineRadioButton* SortingByFileCreationTimeRB = nullptr;
    QPushButton* ProbeBtn = nullptr;
    QPushButton* CompListBtn = nullptr;
    QFrame* DividerShape = nullptr;
    QLabel* AppearanceLbl = nullptr;
    QLabel* LanguageLbl = nullptr;
    QComboBox* LanguageCB = nullptr;
    QCheckBox* LargeFileIconsCB = nullptr;
    QLabel* SortLbl = nullptr;
    QLabel* Sort1Lbl = nullptr;
    QComboBox* Sort1CB = nullptr;
    QLabel* Sort2Lbl = nullptr;
    QComboBox* Sort2CB = nullptr;
    QLabel* Sort3Lbl = nullptr;
    QComboBox* Sort3CB = nullptr;
    QCheckBox* NaturalSortCB = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace tralvo
