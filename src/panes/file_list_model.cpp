#include "panes/file_list_model.h"

#include "app/qt_text.h"
#include "panes/list_rows.h"
#include "platform/text.h"

namespace tralvo {

int FileListIconKind(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : ToLowerAscii(name.substr(dot));
    if (extension == ".mp3") {
        return 0;
    }
    if (extension == ".ogg") {
        return 1;
    }
    if (extension == ".wma") {
        return 2;
    }
    return 3;
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
