// The tags of the selected file or track, and the about box.
#include "arrange/track_loading.h"
#include "gui/dialogs/about_box.h"
#include "gui/dialogs/properties_dialog.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/window_name.h"
#include "jobs/messages.h"
#include "media/sound_file.h"

#include <QToolButton>
#include <memory>

namespace tralvo {

void MainWindow::ConnectProperties() {
    connect(computerPane_, &ComputerPane::PropertiesRequested, this,
            &MainWindow::ShowFileProperties);
    connect(playerPane_, &PlayerPane::PropertiesRequested, this, &MainWindow::ShowProperties);
}

void MainWindow::ShowFileProperties(const std::string& path) {
    std::unique_ptr<media::SoundFile> file;
    try {
        file = std::make_unique<media::SoundFile>(path, fs_);
    } catch (...) {
        file.reset(); // unreadable: told as a file without tag
    }
    ShowProperties(file.get());
}

// The tags of a tagged file; a file without tag (or none at all) gets the warning instead.
void MainWindow::ShowProperties(const media::SoundFile* file) {
    if (file == nullptr || !file->HasTag()) {
        messages_.Show(CatalogueMessage(MainWindowName, "NoPropertiesTitle", "NoProperties",
                                        MessageIcon::Warning, MessageButtons::Ok));
    } else if (PropertiesDialog* properties = propertiesForm_.Get(); properties != nullptr) {
        properties->Show(*file);
    }
}

void MainWindow::AboutBtnClick() {
    if (AboutBox* about = aboutForm_.Get(); about != nullptr) {
        about->exec();
    }
}

} // namespace tralvo
