#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace tralvo {

// The file list's items: bare file names as the file system holds them. A row's icon comes
// from the name's extension: ".mp3" MP3, ".ogg" Ogg Vorbis, ".wma" WMA, anything else WAV.
class FileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetNames(std::vector<std::string> names);
    void AppendName(std::string name);
    void RemoveRow(int row);
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::vector<std::string> names_;
};

// The kind a file list name is drawn as (a media::SoundKind), by its extension.
int FileListIconKind(const std::string& name);

} // namespace tralvo
