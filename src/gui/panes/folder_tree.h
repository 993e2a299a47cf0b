#pragma once

#include "platform/file_system.h"

#include <QTreeView>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tralvo {

class FolderTreeModel;
class VolumeWatcher;

// The folder tree of both panes. Its root is the computer, whose top nodes are the mounted
// volumes a user would recognise, or a folder shown as the top node. Folders are read on the
// user-interface thread when a node is expanded, hidden ones included, in name order; the
// tree follows volumes being mounted and unmounted without a refresh.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(QWidget* parent = nullptr, FileSystem& fs = SystemFileSystem());
    ~FolderTree() override;

    void SetRootComputer();
    // Cut back to the nearest existing folder; a new root rebuilds the tree and selects the
    // previously selected path again if it lies below it, else the top node.
    void SetRootDir(const std::string& path);
    // The root folder as Path gives it; empty while the root is the computer.
    std::string RootDir() const;

    // The selected node's path; empty when nothing is selected or for the computer node. A
    // volume's path ends with '/'.
    std::string Path() const;
    // Selects the node of path, cut back to its nearest existing folder, reading and expanding
    // the nodes on the way. A path outside the root (or left out by the filter) selects
    // nothing; it is kept and selected if a later root write brings it below the root.
    void SetPath(const std::string& path);

    // Reads the root's children again and those of its expanded nodes; collapsed nodes are
    // read when next expanded.
    void Refresh();

    // Asked for every folder about to become a node, with its full path (a mount point with
    // its trailing '/'); false leaves the folder out. Applies to folders read from now on.
    void SetDirAddFilter(std::function<bool(const std::string& path)> filter);

    // Mount points at or below these folders are shown as the computer's volumes, beside "/"
    // and /home (by default /media, /mnt and /run/media).
    void SetVolumePrefixes(std::vector<std::string> prefixes);

signals:
    // The selection moved to another node: by the user, a path or root write, a refresh, or a
    // volume that went away with the selected folder.
    void Change();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    class SelectionKeeper;

    void Rebuild(const std::string& rootFolder);
    void ReadNode(const QModelIndex& index);
    void RefreshBranch(const QModelIndex& index);
    void RefreshOrDrop(const QModelIndex& index);
    bool HoldsSelection(const QModelIndex& index) const;
    QModelIndex Locate(const std::string& folder);
    void ShowAndSelect(const QModelIndex& index);
    void Select(const QModelIndex& index);
    QModelIndex SelectedIndex() const;
    void SelectFolderOrWanted(const std::string& wanted);
    void NoteSelection();
    void OnExpanded(const QModelIndex& index);
    void OnVolumesChanged(const std::vector<Volume>& volumes,
                          const std::vector<std::string>& changedMountPoints);

    FileSystem& fs_;
    FolderTreeModel* model_;
    VolumeWatcher* watcher_;
    bool quiet_ = false; // inside one of our own operations: one Change at its end
    bool suppressExpandRead_ = false;
    std::optional<std::string> selectedKey_; // Path of the selection; none when nothing is
    std::optional<std::string> wantedPath_;  // a path write that fell outside the root
};

} // namespace tralvo
