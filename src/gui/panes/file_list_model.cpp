#include "gui/panes/file_list_model.h"

#include "gui/panes/list_rows.h"
#include "gui/qt_text.h"
#include "media/sound_file.h"

namespace tralvo {

int FileListIconKind(const std::string& name) {
    const media::SoundKind kind = media::KindOfPath(name);
    return kind == media::KindUnknown ? media::KindWav : kind;
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::string& name = names_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return PathText(name);
    case SoundKindRole:
        return FileListIconKind(name);
    default:
        return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::ItemIsDropEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void FileListModel::SetNames(std::vector<std::string> names) {
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

void FileListModel::AppendName(std::string name) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    names_.push_back(std::move(name));
    endInsertRows();
}

void FileListModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    names_.erase(names_.begin() + row);
    endRemoveRows();
}

} // namespace tralvo
