#pragma once

#include "arrange/track_list.h"

#include <QAbstractListModel>

namespace tralvo {

// The track list as the list view shows it: the display string and the file's kind of each
// entry. The model owns the list; whoever reorders it says so through the calls below, so
// the view follows.
class TrackListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const TrackList& Tracks() const { return tracks_; }
    void SetTracks(TrackList tracks);
    // Runs change on the list, which may reorder it (a sort, a shuffle), as one update.
    template <typename Change>
    void Reorder(Change&& change) {
        emit layoutAboutToBeChanged();
        change(tracks_);
        emit layoutChanged();
    }
    // Moves the entry at from so that it ends at to.
    void MoveRow(int from, int to);
    // Entries added and removed one at a time, and a record read anew, as transfers do.
    void AppendTrack(TrackEntry entry);
    void RemoveTrack(int row);
    void RenewFile(int row, std::unique_ptr<media::SoundFile> file);

private:
    TrackList tracks_;
};

} // namespace tralvo
