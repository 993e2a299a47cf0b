#pragma once

#include "gui/panes/core/folder_reader.h"
#include "platform/file_system.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <string>
#include <vector>

namespace tralvo {

// The nodes of a folder tree: one top node (the computer, whose children are the volumes, or
// a root folder), below it one node per folder. A node's children are read on demand and read
// again by merging: nodes of folders that still exist stay, so the view keeps their expansion
// and selection. Children are kept in FolderNameLess order of their keys, which lets a node
// find its row by binary search.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderTreeModel(FileSystem& fs, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    void ResetToComputer();
    void ResetToFolder(const std::string& folder); // an existing folder, normal form
    bool RootIsComputer() const;
    QModelIndex TopIndex() const;

    // The tree's path of a node: empty for the computer, a mount point with a trailing '/'.
    std::string PathOf(const QModelIndex& index) const;
    // The folder of a node without a trailing '/'; empty for the computer.
    std::string FolderOf(const QModelIndex& index) const;

    bool IsRead(const QModelIndex& index) const;
    // Reads the node's children from disk (or the volumes, for the computer) and merges them
    // into the tree. A folder that cannot be listed ends with no children.
    void ReadChildren(const QModelIndex& index);
    // Drops the node's children; it stays expandable and its next expansion reads it.
    void MarkUnread(const QModelIndex& index);
    // Names and marks the top node again, after volumes came or went.
    void UpdateTopNode();

    // The child of index whose folder holds folder (of volumes the deepest), among the
    // children already read.
    QModelIndex ChildHolding(const QModelIndex& index, const std::string& folder) const;
    // The deepest node already in the tree whose folder holds folder; the top node at least.
    QModelIndex DeepestHolding(const std::string& folder) const;

    void SetDirAddFilter(FolderFilter filter);
    void SetVolumes(std::vector<Volume> volumes);
    void SetVolumePrefixes(std::vector<std::string> prefixes);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Node;
    struct Icons {
        QIcon computer;
        QIcon fixedDrive;
        QIcon removableDrive;
        QIcon folder;
    };

    static Node* NodeAt(const QModelIndex& index);
    QModelIndex IndexOf(const Node* node) const;
    static int RowOf(const Node* node);

    std::vector<std::unique_ptr<Node>> ReadVolumeNodes() const;
    std::vector<std::unique_ptr<Node>> ReadFolderNodes(const Node& parent) const;
    void Merge(Node& parent, std::vector<std::unique_ptr<Node>> fresh);
    void Reset(std::unique_ptr<Node> top);

    FileSystem& fs_;
    Icons icons_;
    std::unique_ptr<Node> top_;
    FolderFilter filter_;
    std::vector<Volume> volumes_;
    MountPoints mountPoints_;
    std::vector<std::string> prefixes_;
};

} // namespace tralvo
