#pragma once

#include <QStyledItemDelegate>

namespace tralvo {

// Item data role of both lists: the row's sound kind (0 MP3, 1 Ogg Vorbis, 2 WMA, 3 WAV,
// 4 any other), which chooses its icon.
constexpr int SoundKindRole = Qt::UserRole + 1;

// Draws the rows of the file list and the track list: a file-kind icon and the name without
// its extension, in the track list after the row's position number padded to the width of
// the list's count, so the list reads as the order the player will play.
class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ListRowDelegate(bool numbered, bool largeIcons, QObject* parent = nullptr);

    // LBMeasureItem: the larger of a blank's text height and the icon's, plus 4.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // LBDrawItem.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    int IconSize() const { return largeIcons_ ? 24 : 16; }

private:
    bool numbered_;
    bool largeIcons_;
};

// The text a row shows: the name without its extension, numbered in the track list.
QString RowText(const QString& name, int row, int count, bool numbered);

} // namespace tralvo
