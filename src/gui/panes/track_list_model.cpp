#include "gui/panes/track_list_model.h"

#include "gui/panes/list_rows.h"
#include "gui/qt_text.h"

namespace tralvo {

int TrackListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tracks_.size());
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const TrackEntry& entry = tracks_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return PathText(entry.display);
    case SoundKindRole:
        return static_cast<int>(entry.file ? entry.file->Kind() : media::KindUnknown);
    default:
        return {};
    }
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void TrackListModel::SetTracks(TrackList tracks) {
    beginResetModel();
    tracks_ = std::move(tracks);
    endResetModel();
}

void TrackListModel::MoveRow(int from, int to) {
    const int count = rowCount();
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) {
        return;
    }
    // Qt names the row before which the moved one lands.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    tracks_.Move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    endMoveRows();
}

void TrackListModel::AppendTrack(TrackEntry entry) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    tracks_.Append(std::move(entry));
    endInsertRows();
}

void TrackListModel::RemoveTrack(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    tracks_.RemoveAt(static_cast<std::size_t>(row));
    endRemoveRows();
}

void TrackListModel::RenewFile(int row, std::unique_ptr<media::SoundFile> file) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    tracks_[static_cast<std::size_t>(row)].file = std::move(file);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
}

} // namespace tralvo
