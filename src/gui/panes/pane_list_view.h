#pragma once

#include <QListView>
#include <functional>

namespace tralvo {

// The file list and the track list: a list view whose keys, drags and drops are handed to
// the window's handlers, so the window decides what each does (the lists are each other's
// drop targets, and the track list reorders itself while a track is dragged).
class PaneListView : public QListView {
    Q_OBJECT
public:
    explicit PaneListView(QWidget* parent = nullptr);

    // A drag is about to start; false cancels it.
    std::function<bool()> onStartDrag;
    // The drag that began here has ended, dropped anywhere or cancelled.
    std::function<void()> onEndDrag;
    // Something is dragged over this list from source (null when it comes from elsewhere)
    // at y in the list's coordinates; false refuses it.
    std::function<bool(QObject* source, int y)> onDragOver;
    std::function<void(QObject* source)> onDrop;
    // Keys: true when the handler consumed the key.
    std::function<bool(QKeyEvent* event)> onKeyDown;
    std::function<void(QKeyEvent* event)> onKeyUp;

    // The row under y in the list's coordinates, counting only existing rows; -1 for none.
    int RowAt(int y) const;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool Accept(QDropEvent* event);
};

// The drag's data: our own type, so only these lists take it.
constexpr const char* ListDragMimeType = "application/x-tralvo-list-items";

} // namespace tralvo
