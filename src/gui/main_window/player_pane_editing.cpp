// Editing the track list: moving tracks by buttons, keys and drag and drop, and the orderings
// of the whole list.
#include "arrange/playlist_order.h"
#include "arrange/track_ordering.h"
#include "gui/main_window/list_commands.h"
#include "gui/main_window/player_pane.h"
#include "gui/panes/list_work.h"
#include "gui/panes/pane_list_view.h"
#include "gui/panes/track_list_model.h"
#include "settings/settings_store.h"

#include <QKeyEvent>

namespace tralvo {

namespace {

void MakeCurrent(QListView& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    list.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

} // namespace

void PlayerPane::ConnectEditing() {
    list_->onKeyDown = [this](QKeyEvent* event) { return KeyDown(*event) || KeyPress(*event); };
    list_->onKeyUp = [this](QKeyEvent* event) { SelectAllOnCtrlA(*list_, *event); };
    list_->onStartDrag = [this] { return StartDrag(); };
    list_->onDragOver = [this](QObject* source, int y) { return DragOver(source, y); };
    list_->onDrop = [this](QObject* source) { Drop(source); };
    list_->onEndDrag = [this] { EndDrag(); };
}

template <typename Change>
void PlayerPane::Reorder(Change&& change) {
    if (model_->Tracks().empty()) {
        return;
    }
    {
        const ListWork work(*list_);
        model_->Reorder(std::forward<Change>(change));
    }
    SetChanged(true);
}

void PlayerPane::Sort(bool reverse) {
    Reorder([this, reverse](TrackList& tracks) {
        SortTrackList(tracks, settings_.Keys(), reverse, true);
    });
}

void PlayerPane::Shuffle() {
    Reorder([](TrackList& tracks) { ShuffleTrackList(tracks, media::SeedFromTimeOfDay()); });
}

std::vector<std::string> PlayerPane::ApplyPlaylist(const std::vector<std::string>& entries,
                                                   const std::string& playlistFolder) {
    std::vector<std::string> unmatched;
    Reorder([&](TrackList& tracks) {
        unmatched = OrderByPlaylist(tracks, listFolder_, order_, entries, playlistFolder, fs_);
    });
    return unmatched;
}

// The current track one row up (by -1) or down (by 1); not with several selected.
void PlayerPane::MoveCurrent(int by) {
    const int row = list_->currentIndex().row();
    const int to = row + by;
    if (row < 0 || SelectedCount(*list_) >= 2 || to < 0 || to >= model_->rowCount()) {
        return;
    }
    model_->MoveRow(row, to);
    MakeCurrent(*list_, to);
    SetChanged(true);
}

// The arrows point at the other pane: Left fetches from it.
bool PlayerPane::KeyDown(const QKeyEvent& event) {
    // Ctrl+Z undoes the last run in the folder: no button, the tool bar sets the window's width.
    if (Held(event) == Qt::ControlModifier && event.key() == Qt::Key_Z) {
        emit UndoRequested();
        return true;
    }
    return ListKeyDown(
        event, Qt::Key_Left, [this] { emit DeleteRequested(); },
        [this] { emit DownloadRequested(); }, [this] { RequestProperties(); });
}

// The characters "+" and "-", with whatever modifiers typed them (the keypad's too).
bool PlayerPane::KeyPress(const QKeyEvent& event) {
    if (event.text() == QStringLiteral("+")) {
        MoveCurrent(1);
        return true;
    }
    if (event.text() == QStringLiteral("-")) {
        MoveCurrent(-1);
        return true;
    }
    return false;
}

bool PlayerPane::StartDrag() {
    list_->setFocus();
    const int selected = SelectedCount(*list_);
    if (selected == 0) {
        return false;
    }
    if (selected == 1) {
        dragStart_ = list_->currentIndex().row();
        dragCurrent_ = dragStart_;
    }
    return true;
}

// The dragged track follows the pointer while the drag lasts.
bool PlayerPane::DragOver(QObject* source, int y) {
    if (source != nullptr && source == dropSource_) {
        return true;
    }
    if (source != list_ || SelectedCount(*list_) != 1 || dragCurrent_ < 0) {
        return false;
    }
    const int old = dragCurrent_;
    int row = list_->RowAt(y);
    if (row < 0) {
        row = y > 0 ? model_->rowCount() - 1 : 0;
    }
    dragCurrent_ = row;
    if (row != old) {
        model_->MoveRow(old, row);
        MakeCurrent(*list_, row);
    }
    return true;
}

void PlayerPane::Drop(QObject* source) {
    if (source == list_) {
        if (dragStart_ != dragCurrent_) {
            SetChanged(true);
        }
        dragStart_ = -1;
        dragCurrent_ = -1;
    } else if (source != nullptr && source == dropSource_) {
        emit UploadRequested();
    }
}

// A reorder drag that ended anywhere but on the track list puts the track back.
void PlayerPane::EndDrag() {
    if (dragStart_ == -1) {
        return;
    }
    model_->MoveRow(dragCurrent_, dragStart_);
    MakeCurrent(*list_, dragStart_);
    dragStart_ = -1;
    dragCurrent_ = -1;
}

} // namespace tralvo
