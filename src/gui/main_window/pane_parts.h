#pragma once

#include <QSize>

class QAbstractItemModel;
class QFrame;
class QIcon;
class QLabel;
class QListView;
class QToolButton;
class QWidget;

namespace tralvo {

class AnchoredPanel;
class FileSystem;
class PaneListView;
class PictureBox;
class FolderTree;

// The computer pane's design width, which also sets the folder boxes' design width.
inline constexpr int ComputerPaneWidth = 254;

// What both panes of the main window are built of, top to bottom: a tool bar on its cool
// bar, a folder box with the pane's picture, caption and folder tree, and a list.

struct PaneToolbar {
    QFrame* coolbar;
    QWidget* toolbar;
};
// The pane (laid out top to bottom) gets its cool bar and the tool bar on it.
PaneToolbar AddPaneToolbar(QWidget& pane, const char* coolbarName, const char* toolbarName);
QToolButton* AddToolButton(QWidget* toolbar, const char* name, int image);
void AddSeparator(QWidget* toolbar, const char* name);

struct FolderBoxNames {
    const char* box;
    const char* image;
    const char* caption;
    const char* line;
    const char* tree;
};
struct FolderBox {
    AnchoredPanel* box;
    PictureBox* image;
    QLabel* caption;
    QFrame* line;
    FolderTree* tree;
};
// The folder header: a white box with the pane's picture and caption over its tree.
FolderBox AddFolderBox(QWidget& pane, const FolderBoxNames& names, const QIcon& picture,
                       FileSystem& fs);

// The pane's list of files or tracks, stretched to the pane's bottom; numbered rows for the
// track list, large icons as the program started with.
PaneListView* AddPaneList(QWidget& pane, const char* name, QAbstractItemModel* model, bool numbered,
                          bool largeIcons);

// A list that loses the focus redraws its selection in the colours of an inactive one.
void RedrawSelectionOnFocusOut(QListView& list);

} // namespace tralvo
