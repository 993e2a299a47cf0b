// Editing the track list: moving tracks by buttons, keys and drag and drop, and the keys and
// drops of both lists that start the transfer, delete and properties commands.
#include "app/main_form.h"
#include "panes/track_list_model.h"

#include <QKeyEvent>
#include <QToolButton>

namespace tralvo {

namespace {

int SelectedCount(const QListView& list) {
    return list.selectionModel() == nullptr
               ? 0
               : static_cast<int>(list.selectionModel()->selectedRows().size());
}

// Shift, Ctrl and Alt as the bindings tell them apart (the keypad counts for nothing).
Qt::KeyboardModifiers Held(const QKeyEvent& event) {
    return event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

void MakeCurrent(QListView& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    list.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void SelectAll(QListView& list) {
    if (list.model()->rowCount() > 0) {
        list.selectAll();
    }
}

// A list's keys: Delete deletes, the arrow toward the other pane transfers there, Alt+Enter
// shows the properties. True when the key ran a command.
template <typename Remove, typename Transfer, typename Properties>
bool ListKeyDown(const QKeyEvent& event, int towardOtherPane, Remove&& remove, Transfer&& transfer,
                 Properties&& properties) {
    const Qt::KeyboardModifiers held = Held(event);
    if (held == Qt::NoModifier && event.key() == Qt::Key_Delete) {
        remove();
        return true;
    }
    if (held == Qt::NoModifier && event.key() == towardOtherPane) {
        transfer();
        return true;
    }
    if (held == Qt::AltModifier &&
        (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)) {
        properties();
        return true;
    }
    return false;
}

} // namespace

void TMainForm::ConnectEditing() {
    connect(UpBtn, &QToolButton::clicked, this, &TMainForm::UpBtnClick);
    connect(DownBtn, &QToolButton::clicked, this, &TMainForm::DownBtnClick);
    FilesLB->onKeyDown = [this](QKeyEvent* event) { return FilesLBKeyDown(event); };
    FilesLB->onKeyUp = [this](QKeyEvent* event) { FilesLBKeyUp(event); };
    TracksLB->onKeyDown = [this](QKeyEvent* event) {
        return TracksLBKeyDown(event) || TracksLBKeyPress(event);
    };
    TracksLB->onKeyUp = [this](QKeyEvent* event) { TracksLBKeyUp(event); };
    TracksLB->onStartDrag = [this] { return TracksLBStartDrag(); };
    TracksLB->onDragOver = [this](QObject* source, int y) { return TracksLBDragOver(source, y); };
    TracksLB->onDrop = [this](QObject* source) { TracksLBDragDrop(source); };
    TracksLB->onEndDrag = [this] { TracksLBEndDrag(); };
    FilesLB->onStartDrag = [this] { return FilesLBStartDrag(); };
    FilesLB->onDragOver = [this](QObject* source, int) { return FilesLBDragOver(source); };
    FilesLB->onDrop = [this](QObject* source) { FilesLBDragDrop(source); };
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

// The arrows point at the other pane: Right sends to the player, Left fetches from it.
bool TMainForm::FilesLBKeyDown(QKeyEvent* event) {
    return ListKeyDown(
        *event, Qt::Key_Right, [this] { LBDeleteBtnClick(MyComputerDeleteBtn); },
        [this] { UploadBtnClick(); }, [this] { MyComputerPropertiesBtnClick(); });
}

void TMainForm::FilesLBKeyUp(QKeyEvent* event) {
    if (Held(*event) == Qt::ControlModifier && event->key() == Qt::Key_A) {
        SelectAll(*FilesLB);
    }
}

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
    if (source == FilesLB) {
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
    } else if (source == FilesLB) {
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

bool TMainForm::FilesLBStartDrag() {
    FilesLB->setFocus();
    return SelectedCount(*FilesLB) > 0;
}

bool TMainForm::FilesLBDragOver(QObject* source) {
    return source == TracksLB;
}

void TMainForm::FilesLBDragDrop(QObject* source) {
    if (source == TracksLB) {
        DownloadBtnClick();
    }
}

} // namespace tralvo
