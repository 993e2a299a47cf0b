// Players remembered: when the player root comes to lie on another player volume, that
// player's settings take over, and the player pane follows them to its last folder.
#include "gui/gui_settings.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "gui/panes/volume_watcher.h"
#include "settings/settings_store.h"

namespace tralvo {

namespace {

std::string IdOf(const std::optional<PlayerVolume>& volume) {
    return volume ? volume->id : std::string();
}

} // namespace

void MainWindow::ConnectPlayerVolumes() {
    playerVolumes_ = new VolumeWatcher([this] { return fs_.Volumes(); }, this);
    playerVolumes_->setObjectName(QStringLiteral("PlayerVolumeWatcher"));
    connect(playerVolumes_, &VolumeWatcher::VolumesChanged, this, &MainWindow::FollowPlayerVolume);
    // After the panes: the player pane has its new root and order when it is sent on.
    connect(&settings_, &GuiSettings::Changed, this, &MainWindow::FollowPlayerChange);
}

void MainWindow::FollowPlayerVolume() {
    UserSettings edited = settings_.Get();
    edited.Window.LastMyPlayerPath = playerPane_->Folder();
    if (SwitchPlayer(edited, CurrentPlayerVolume(edited, fs_, findPlayerVolume_))) {
        settings_.Apply(edited);
    } else {
        // The same player, perhaps at another mount point: nothing to tell.
        settings_.Kept().Players = edited.Players;
    }
}

void MainWindow::FollowPlayerChange(const UserSettings& before) {
    if (IdOf(before.Players.current) != IdOf(settings_.Get().Players.current)) {
        ShowLastPlayerFolder();
    }
}

} // namespace tralvo
