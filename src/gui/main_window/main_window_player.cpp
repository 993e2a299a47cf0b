// The preview player's wiring: what plays when Play is pressed or a list item double-clicked,
// and where the focus goes from the status line.
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"

#include <QPushButton>

namespace tralvo {

void MainWindow::ConnectPlayer() {
    connect(playerPanel_, &PlayerPanel::PlayRequested, this, &MainWindow::PlayFocusedItem);
    connect(computerPane_, &ComputerPane::PlayRequested, player_, &PreviewPlayer::Play);
    connect(playerPane_, &PlayerPane::PlayRequested, player_, &PreviewPlayer::Play);
    connect(playerPane_, &PlayerPane::FolderNote, playerPanel_, &PlayerPanel::ShowNote);
    connect(playerPanel_, &PlayerPanel::StatusLineFocused, this, [this] {
        QPushButton* next = tralvoButton_->isEnabled() ? tralvoButton_ : exitButton_;
        next->setFocus(Qt::OtherFocusReason);
    });
}

void MainWindow::PlayFocusedItem() {
    if (const std::optional<std::string> file = computerPane_->FileToPlay()) {
        player_->Play(*file);
        return;
    }
    if (const std::optional<std::string> track = playerPane_->TrackToPlay()) {
        player_->Play(*track);
    }
}

} // namespace tralvo
