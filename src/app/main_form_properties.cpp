// The tags of the selected file or track, and the about box.
#include "app/about_form.h"
#include "app/main_form.h"
#include "app/messages.h"
#include "app/properties_form.h"
#include "arrange/track_loading.h"
#include "media/sound_file.h"
#include "panes/file_list_model.h"
#include "panes/shell_tree.h"
#include "panes/track_list_model.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QToolButton>
#include <memory>

namespace tralvo {

namespace {

constexpr const char* MainFormName = "MainForm";

// The row of the one selected entry, or -1 unless exactly one is selected. The selected
// entry, not the current one: with several rows marked and all but one unmarked again,
// the current row may be an unmarked one.
int SingleSelectedRow(const QListView& list) {
    const QItemSelectionModel* selection = list.selectionModel();
    if (selection == nullptr) {
        return -1;
    }
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.size() == 1 ? selected.front().row() : -1;
}

} // namespace

void TMainForm::ConnectProperties() {
    connect(MyComputerPropertiesBtn, &QToolButton::clicked, this,
            &TMainForm::MyComputerPropertiesBtnClick);
    connect(MyPlayerPropertiesBtn, &QToolButton::clicked, this,
            &TMainForm::MyPlayerPropertiesBtnClick);
}

void TMainForm::MyComputerPropertiesBtnClick() {
    const int row = SingleSelectedRow(*FilesLB);
    const std::vector<std::string>& names = FilesModel->Names();
    if (row < 0 || static_cast<std::size_t>(row) >= names.size()) {
        return;
    }
    const std::string path =
        FolderWithSlash(MyComputerST->Path()) + names[static_cast<std::size_t>(row)];
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
