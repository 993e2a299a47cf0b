#include "gui/panes/pane_list_view.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace tralvo {

PaneListView::PaneListView(QWidget* parent) : QListView(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
}

int PaneListView::RowAt(int y) const {
    const QModelIndex index = indexAt(QPoint(1, y));
    return index.isValid() ? index.row() : -1;
}

void PaneListView::startDrag(Qt::DropActions /*supportedActions*/) {
    if (onStartDrag && !onStartDrag()) {
        return;
    }
    auto* items = new QMimeData;
    items->setData(QString::fromLatin1(ListDragMimeType), QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(items);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    if (onEndDrag) {
        onEndDrag();
    }
}

bool PaneListView::Accept(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(ListDragMimeType)) || !onDragOver ||
        !onDragOver(event->source(), event->position().toPoint().y())) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void PaneListView::dragEnterEvent(QDragEnterEvent* event) {
    Accept(event);
}

void PaneListView::dragMoveEvent(QDragMoveEvent* event) {
    Accept(event);
}

void PaneListView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(ListDragMimeType))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (onDrop) {
        onDrop(event->source());
    }
}

void PaneListView::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown && onKeyDown(event)) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void PaneListView::keyReleaseEvent(QKeyEvent* event) {
    if (onKeyUp) {
        onKeyUp(event);
    }
    QListView::keyReleaseEvent(event);
}

} // namespace tralvo
