// Editing the track list: moving tracks by buttons, keys and drag and drop, and the keys and
// drops of both lists that start the transfer, delete and properties commands.
#include "app/main_form.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/list_commands.h"
#include "gui/panes/track_list_model.h"

#include <QKeyEvent>
#include <QToolButton>

namespace tralvo {

namespace {

void MakeCurrent(QListView& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    list.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

} // namespace

void TMainForm::ConnectEditing() {
    connect(UpBtn, &QToolButton::clicked, this, &TMainForm::UpBtnClick);
    connect(DownBtn, &QToolButton::clicked, this, &TMainForm::DownBtnClick);
    TracksLB->onKeyDown = [this](QKeyEvent* event) {
        return TracksLBKeyDown(event) || TracksLBKeyPress(event);
    };
    TracksLB->onKeyUp = [this](QKeyEvent* event) { TracksLBKeyUp(event); };
    TracksLB->onStartDrag = [this] { return TracksLBStartDrag(); };
    TracksLB->onDragOver = [this](QObject* source, int y) { return TracksLBDragOver(source, y); };
    TracksLB->onDrop = [this](QObject* source) { TracksLBDragDrop(source); };
    TracksLB->onEndDrag = [this] { TracksLBEndDrag(); };
    // Tracks dropped on the file list are downloaded.
    computerPane_->AcceptDropsFrom(TracksLB);
    connect(computerPane_, &ComputerPane::DownloadRequested, this, &TMainForm::DownloadBtnClick);
}

void TMainForm::UpBtnClick() {
    const int row = TracksLB->currentIndex().row();
    if (row <= 0 || SelectedCount(*TracksLB) >= 2) {
        return;
    }
    TracksModel->MoveRow(row, row - 1);
    MakeCurrent(*TracksLB, row - 1);
    SetTracksChanged(true);
}

void TMainForm::DownBtnClick() {
    const int row = TracksLB->currentIndex().row();
    if (row < 0 || SelectedCount(*TracksLB) >= 2 || row >= TracksModel->rowCount() - 1) {
        return;
    }
    TracksModel->MoveRow(row, row + 1);
    MakeCurrent(*TracksLB, row + 1);
    SetTracksChanged(true);
}

// The arrows point at the other pane: Left fetches from it.
bool TMainForm::TracksLBKeyDown(QKeyEvent* event) {
    // Ctrl+Z undoes the last run in the folder: no button, the tool bar sets the window's width.
    if (Held(*event) == Qt::ControlModifier && event->key() == Qt::Key_Z) {
        UndoLastRunClick();
        return true;
    }
    return ListKeyDown(
        *event, Qt::Key_Left, [this] { LBDeleteBtnClick(MyPlayerDeleteBtn); },
        [this] { DownloadBtnClick(); }, [this] { MyPlayerPropertiesBtnClick(); });
}

// The characters "+" and "-", with whatever modifiers typed them (the keypad's too).
bool TMainForm::TracksLBKeyPress(QKeyEvent* event) {
    if (event->text() == QStringLiteral("+")) {
        DownBtnClick();
        return true;
    }
    if (event->text() == QStringLiteral("-")) {
        UpBtnClick();
        return true;
    }
    return false;
}

void TMainForm::TracksLBKeyUp(QKeyEvent* event) {
    if (Held(*event) == Qt::ControlModifier && event->key() == Qt::Key_A) {
        SelectAll(*TracksLB);
    }
}

bool TMainForm::TracksLBStartDrag() {
    TracksLB->setFocus();
    const int selected = SelectedCount(*TracksLB);
    if (selected == 0) {
        return false;
    }
    if (selected == 1) {
        DragStartIndex = TracksLB->currentIndex().row();
        DragCurrentIndex = DragStartIndex;
    }
    return true;
}

// The dragged track follows the pointer while the drag lasts.
bool TMainForm::TracksLBDragOver(QObject* source, int y) {
    if (source == computerPane_->List()) {
        return true;
    }
    if (source != TracksLB || SelectedCount(*TracksLB) != 1 || DragCurrentIndex < 0) {
        return false;
    }
    const int old = DragCurrentIndex;
    int row = TracksLB->RowAt(y);
    if (row < 0) {
        row = y > 0 ? TracksModel->rowCount() - 1 : 0;
    }
    DragCurrentIndex = row;
    if (row != old) {
        TracksModel->MoveRow(old, row);
        MakeCurrent(*TracksLB, row);
    }
    return true;
}

void TMainForm::TracksLBDragDrop(QObject* source) {
    if (source == TracksLB) {
        if (DragStartIndex != DragCurrentIndex) {
            SetTracksChanged(true);
        }
        DragStartIndex = -1;
        DragCurrentIndex = -1;
    } else if (source == computerPane_->List()) {
        UploadBtnClick();
    }
}

// A reorder drag that ended anywhere but on the track list puts the track back.
void TMainForm::TracksLBEndDrag() {
    if (DragStartIndex == -1) {
        return;
    }
    TracksModel->MoveRow(DragCurrentIndex, DragStartIndex);
    MakeCurrent(*TracksLB, DragStartIndex);
    DragStartIndex = -1;
    DragCurrentIndex = -1;
}

} // namespace tralvo
