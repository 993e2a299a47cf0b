#pragma once

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <algorithm>
#include <vector>

namespace tralvo {

// What the file list and the track list share: the keys of their commands and the
// selection those commands act on.

// The selected rows, first to last.
inline std::vector<std::size_t> SelectedRows(const QListView& list) {
    std::vector<std::size_t> rows;
    if (list.selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : list.selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

inline int SelectedCount(const QListView& list) {
    return list.selectionModel() == nullptr
               ? 0
               : static_cast<int>(list.selectionModel()->selectedRows().size());
}

// The row of the one selected entry, or -1 unless exactly one is selected. The selected
// entry, not the current one: with several rows marked and all but one unmarked again,
// the current row may be an unmarked one.
inline int SingleSelectedRow(const QListView& list) {
    const QItemSelectionModel* selection = list.selectionModel();
    if (selection == nullptr) {
        return -1;
    }
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.size() == 1 ? selected.front().row() : -1;
}

// The row the Play button plays: the current one while the list has the focus and no more
// than one row is selected; -1 otherwise.
inline int RowToPlay(const QListView& list) {
    if (!list.hasFocus() || SelectedCount(list) > 1) {
        return -1;
    }
    return list.currentIndex().row();
}

inline void SelectAll(QListView& list) {
    if (list.model()->rowCount() > 0) {
        list.selectAll();
    }
}

// Shift, Ctrl and Alt as the bindings tell them apart (the keypad counts for nothing).
inline Qt::KeyboardModifiers Held(const QKeyEvent& event) {
    return event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
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

// Ctrl+A, when released, selects the whole list.
inline void SelectAllOnCtrlA(QListView& list, const QKeyEvent& event) {
    if (Held(event) == Qt::ControlModifier && event.key() == Qt::Key_A) {
        SelectAll(list);
    }
}

} // namespace tralvo
