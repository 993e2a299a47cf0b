// The tags of the selected file or track, and the about box.
#include "gui/dialogs/about_form.h"
#include "app/main_form.h"
#include "jobs/messages.h"
#include "gui/dialogs/properties_form.h"
#include "arrange/track_loading.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/list_commands.h"
#include "media/sound_file.h"
#include "gui/panes/track_list_model.h"

#include <QToolButton>
#include <memory>

namespace tralvo {

namespace {

constexpr const char* MainFormName = "MainForm";

} // namespace

void TMainForm::ConnectProperties() {
    connect(computerPane_, &ComputerPane::PropertiesRequested, this,
            &TMainForm::ShowFileProperties);
    connect(MyPlayerPropertiesBtn, &QToolButton::clicked, this,
            &TMainForm::MyPlayerPropertiesBtnClick);
}

void TMainForm::ShowFileProperties(const std::string& path) {
    std::unique_ptr<media::TSoundFile> file;
    try {
        file = std::make_unique<media::TSoundFile>(path, fs_);
    } catch (...) {
        file.reset(); // unreadable: told as a file without tag
    }
    ShowProperties(file.get());
}

void TMainForm::MyPlayerPropertiesBtnClick() {
    const int row = SingleSelectedRow(*TracksLB);
    const TrackList& tracks = TracksModel->Tracks();
    if (row < 0 || static_cast<std::size_t>(row) >= tracks.size()) {
        return;
    }
    // The record the list built when it loaded: nothing is read again.
    ShowProperties(tracks[static_cast<std::size_t>(row)].file.get());
}

// The tags of a tagged file; a file without tag (or none at all) gets the warning instead.
void TMainForm::ShowProperties(const media::TSoundFile* file) {
    if (file == nullptr || !file->HasTag()) {
        messages_.Show(CatalogueMessage(MainFormName, "NoPropertiesTitle", "NoProperties",
                                        MessageIcon::Warning, MessageButtons::Ok));
    } else if (TPropertiesForm* properties = propertiesForm_.Get(); properties != nullptr) {
        properties->Show(*file);
    }
}

void TMainForm::AboutBtnClick() {
    if (TAboutForm* about = aboutForm_.Get(); about != nullptr) {
        about->exec();
    }
}

} // namespace tralvo
