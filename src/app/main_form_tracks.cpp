// The player pane's track list: loading it, its changed mark, following the player tree, and
// the whole-list orderings.
#include "app/main_form.h"
#include "jobs/message_box_observer.h"
#include "jobs/messages.h"
#include "settings/settings_store.h"
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/track_ordering.h"
#include "gui/panes/list_work.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/track_list_model.h"

#include <QApplication>
#include <QListView>
#include <QPushButton>

namespace tralvo {

namespace {

constexpr const char* MainFormName = "MainForm";

} // namespace

void TMainForm::LoadTrackList() {
    const std::string folder = MyPlayerST->Path();
    ShowTrackList(folder.empty() ? TrackList{} : LoadTracks(folder, Settings.Order(), fs_));
}

void TMainForm::ShowTrackList(TrackList tracks) {
    {
        const ListWork work(*TracksLB);
        TracksModel->SetTracks(std::move(tracks));
    }
    SetTracksChanged(false);
}

void TMainForm::SetTracksChanged(bool changed) {
    TracksChanged = changed;
    TralvoBtn->setEnabled(changed);
}

std::string TMainForm::TrackPath(int index) {
    const TrackList& tracks = TracksModel->Tracks();
    if (index < 0 || static_cast<std::size_t>(index) >= tracks.size()) {
        return {};
    }
    const TrackEntry& entry = tracks[static_cast<std::size_t>(index)];
    // Under file-name order the display string lacks the file's order prefix.
    if (Settings.PlayerType == PlayerType::FileNames) {
        return entry.file ? entry.file->FileName() : std::string();
    }
    return FolderWithSlash(MyPlayerST->Path()) + entry.display;
}

void TMainForm::MyPlayerSTChange() {
    const std::string folder = MyPlayerST->Path();
    // Paths compare exactly: on this system "Music" and "music" may be two folders.
    if (FolderWithSlash(folder) == FolderWithSlash(TrackListFolder)) {
        SkipFolderConfirm = false;
        return;
    }
    if (TracksChanged && !SkipFolderConfirm &&
        messages_.Show(QuestionMessage(MainFormName, windowTitle().toStdString(),
                                       "ChangeDirAlthoughChanged")) != MessageAnswer::Yes) {
        MyPlayerST->SetPath(TrackListFolder); // back where the list came from
        return;
    }
    SkipFolderConfirm = false;
    TrackListFolder = folder;
    // A run cut off in this folder (a player unplugged, a battery run down) left its tracks in
    // temporary places: offer to put them back before they are listed.
    MessageBoxObserver dialogue(messages_, MainFormName);
    OfferRecovery(FolderWithSlash(folder), fs_, dialogue);
    LoadTrackList();
}

void TMainForm::MyPlayerRefreshBtnClick() {
    MyPlayerST->Refresh();
    if (TracksChanged &&
        messages_.Show(QuestionMessage(MainFormName, windowTitle().toStdString(),
                                       "RefreshAlthoughChanged")) != MessageAnswer::Yes) {
        return;
    }
    if (!MyPlayerST->Path().empty()) {
        MessageBoxObserver dialogue(messages_, MainFormName);
        OfferRecovery(FolderWithSlash(MyPlayerST->Path()), fs_, dialogue);
    }
    LoadTrackList();
}

void TMainForm::SortBtnClick() {
    if (TracksModel->Tracks().empty()) {
        return;
    }
    {
        const ListWork work(*TracksLB);
        TracksModel->Reorder([](TrackList& tracks) {
            SortTrackList(tracks, {Settings.SortKey1, Settings.SortKey2, Settings.SortKey3}, false,
                          true);
        });
    }
    SetTracksChanged(true);
}

void TMainForm::ReverseSortBtnClick() {
    if (TracksModel->Tracks().empty()) {
        return;
    }
    {
        const ListWork work(*TracksLB);
        TracksModel->Reorder([](TrackList& tracks) {
            SortTrackList(tracks, {Settings.SortKey1, Settings.SortKey2, Settings.SortKey3}, true,
                          true);
        });
    }
    SetTracksChanged(true);
}

void TMainForm::ShuffleBtnClick() {
    if (TracksModel->Tracks().empty()) {
        return;
    }
    {
        const ListWork work(*TracksLB);
        TracksModel->Reorder(
            [](TrackList& tracks) { ShuffleTrackList(tracks, media::SeedFromTimeOfDay()); });
    }
    SetTracksChanged(true);
}

} // namespace tralvo
