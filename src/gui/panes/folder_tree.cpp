#include "gui/panes/folder_tree.h"

#include "gui/panes/core/folder_path.h"
#include "gui/panes/folder_tree_model.h"
#include "gui/panes/volume_watcher.h"
#include "gui/panes/wait_cursor.h"
#include "platform/mount_table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tralvo {
namespace {

class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Flag() { flag_ = was_; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& flag_;
    bool was_;
};

} // namespace

// Around one of the tree's own operations: selection changes are not reported one by one;
// when the selected node went away, its nearest surviving ancestor is selected; Finish then
// emits Change once if the selection moved. Nested operations leave this to the outer one.
class FolderTree::SelectionKeeper {
public:
    explicit SelectionKeeper(FolderTree& tree)
        : tree_(tree), outer_(!tree.quiet_), quietGuard_(tree.quiet_) {
        for (QModelIndex index = tree.SelectedIndex(); index.isValid(); index = index.parent()) {
            chain_.emplace_back(index);
        }
    }

    void Finish() {
        if (!outer_) {
            return;
        }
        if (!chain_.empty() && !chain_.front().isValid() && !tree_.SelectedIndex().isValid()) {
            QModelIndex survivor = tree_.model_->TopIndex();
            for (const QPersistentModelIndex& ancestor : chain_) {
                if (ancestor.isValid()) {
                    survivor = ancestor;
                    break;
                }
            }
            tree_.Select(survivor);
        }
        tree_.quiet_ = false;
        tree_.NoteSelection();
    }

private:
    FolderTree& tree_;
    bool outer_;
    Flag quietGuard_;
    std::vector<QPersistentModelIndex> chain_; // the selected node, then its ancestors
};

FolderTree::FolderTree(QWidget* parent, FileSystem& fs)
    : QTreeView(parent), fs_(fs), model_(new FolderTreeModel(fs, this)),
      watcher_(new VolumeWatcher([&fs] { return fs.Volumes(); }, this)) {
    setModel(model_);
    setHeaderHidden(true);
    setFrameShape(QFrame::NoFrame);
    setIndentation(19);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The selected folder stays as visible when the focus is in the list beside the tree.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    connect(this, &QTreeView::expanded, this, &FolderTree::OnExpanded);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { NoteSelection(); });
    connect(watcher_, &VolumeWatcher::VolumesChanged, this, &FolderTree::OnVolumesChanged);
    model_->SetVolumes(watcher_->Volumes());
    Rebuild({});
}

FolderTree::~FolderTree() = default;

void FolderTree::SetRootComputer() {
    if (model_->RootIsComputer()) {
        return;
    }
    SelectionKeeper keeper(*this);
    const std::string wanted = wantedPath_.value_or(Path());
    wantedPath_.reset();
    Rebuild({});
    SelectFolderOrWanted(wanted);
    keeper.Finish();
}

void FolderTree::SetRootDir(const std::string& path) {
    const std::string folder = NearestExistingFolder(fs_, path);
    if (folder.empty() ||
        (!model_->RootIsComputer() && folder == model_->FolderOf(model_->TopIndex()))) {
        return;
    }
    SelectionKeeper keeper(*this);
    const std::string wanted = wantedPath_.value_or(Path());
    wantedPath_.reset();
    Rebuild(folder);
    SelectFolderOrWanted(wanted);
    keeper.Finish();
}

std::string FolderTree::RootDir() const {
    return model_->RootIsComputer() ? std::string() : model_->PathOf(model_->TopIndex());
}

std::string FolderTree::Path() const {
    return model_->PathOf(SelectedIndex());
}

void FolderTree::SetPath(const std::string& path) {
    if (path == Path()) {
        return;
    }
    const std::string folder = NearestExistingFolder(fs_, path);
    if (folder.empty()) {
        return;
    }
    SelectionKeeper keeper(*this);
    const QModelIndex target = Locate(folder);
    if (target.isValid()) {
        wantedPath_.reset();
        ShowAndSelect(target);
    } else {
        wantedPath_ = path;
    }
    keeper.Finish();
}

void FolderTree::Refresh() {
    SelectionKeeper keeper(*this);
    model_->SetVolumes(fs_.Volumes());
    model_->UpdateTopNode();
    RefreshBranch(model_->TopIndex());
    keeper.Finish();
}

void FolderTree::SetDirAddFilter(std::function<bool(const std::string& path)> filter) {
    model_->SetDirAddFilter(std::move(filter));
    // Folders read before the filter came must meet it too.
    if (model_->IsRead(model_->TopIndex())) {
        Refresh();
    }
}

void FolderTree::SetVolumePrefixes(std::vector<std::string> prefixes) {
    model_->SetVolumePrefixes(std::move(prefixes));
    const QModelIndex top = model_->TopIndex();
    if (model_->RootIsComputer() && model_->IsRead(top)) {
        SelectionKeeper keeper(*this);
        ReadNode(top);
        keeper.Finish();
    }
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    // "*" expands a whole branch, which in a folder tree means reading a whole disk.
    if (event->key() == Qt::Key_Asterisk) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

QItemSelectionModel::SelectionFlags FolderTree::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const {
    // Ctrl+click would leave no folder selected, which the panes cannot show.
    const QItemSelectionModel::SelectionFlags flags = QTreeView::selectionCommand(index, event);
    return flags.testFlag(QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate : flags;
}

// The model's reset drops the selection without a word; the callers select and report.
void FolderTree::Rebuild(const std::string& rootFolder) {
    if (rootFolder.empty()) {
        model_->ResetToComputer();
    } else {
        model_->ResetToFolder(rootFolder);
    }
    expand(model_->TopIndex());
}

void FolderTree::ReadNode(const QModelIndex& index) {
    const WaitCursor wait;
    model_->ReadChildren(index);
    if (model_->rowCount(index) == 0) {
        // The view keeps the arrow it drew from the cheap guess until it lays out again.
        scheduleDelayedItemsLayout();
    }
}

// Reads the node's children again, and those of its expanded children and of the branch
// that leads to the selection, so that a vanished selected folder is noticed; other read
// children are dropped, to be read when next expanded.
void FolderTree::RefreshBranch(const QModelIndex& index) {
    ReadNode(index);
    const int rows = model_->rowCount(index);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex child = model_->index(row, 0, index);
        if (model_->IsRead(child)) {
            RefreshOrDrop(child);
        }
    }
}

void FolderTree::RefreshOrDrop(const QModelIndex& index) {
    if (isExpanded(index) || HoldsSelection(index)) {
        RefreshBranch(index);
    } else {
        model_->MarkUnread(index);
    }
}

bool FolderTree::HoldsSelection(const QModelIndex& index) const {
    for (QModelIndex ancestor = SelectedIndex().parent(); ancestor.isValid();
         ancestor = ancestor.parent()) {
        if (ancestor == index) {
            return true;
        }
    }
    return false;
}

// The node of an existing folder, reading the nodes on the way that were not read yet, and
// reading a node again when the folder sought is missing from it; invalid when the folder
// lies outside the root or was left out.
QModelIndex FolderTree::Locate(const std::string& folder) {
    QModelIndex node = model_->TopIndex();
    if (!model_->RootIsComputer() && !FolderHoldsPath(model_->FolderOf(node), folder)) {
        return {};
    }
    while (model_->FolderOf(node) != folder) {
        const bool readNow = !model_->IsRead(node);
        if (readNow) {
            ReadNode(node);
        }
        QModelIndex child = model_->ChildHolding(node, folder);
        if (!child.isValid() && !readNow) {
            ReadNode(node);
            child = model_->ChildHolding(node, folder);
        }
        if (!child.isValid()) {
            return {};
        }
        node = child;
    }
    return node;
}

void FolderTree::ShowAndSelect(const QModelIndex& index) {
    {
        // The nodes on the way were read while looking for the folder.
        const Flag noReading(suppressExpandRead_);
        for (QModelIndex ancestor = index.parent(); ancestor.isValid();
             ancestor = ancestor.parent()) {
            expand(ancestor);
        }
    }
    expand(index);
    Select(index);
    scrollTo(index);
}

void FolderTree::Select(const QModelIndex& index) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

QModelIndex FolderTree::SelectedIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

void FolderTree::SelectFolderOrWanted(const std::string& wanted) {
    QModelIndex target;
    if (!wanted.empty()) {
        const std::string folder = NearestExistingFolder(fs_, wanted);
        if (!folder.empty()) {
            target = Locate(folder);
        }
    }
    if (target.isValid()) {
        ShowAndSelect(target);
    } else {
        Select(model_->TopIndex());
    }
}

void FolderTree::NoteSelection() {
    if (quiet_) {
        return;
    }
    const QModelIndex selected = SelectedIndex();
    std::optional<std::string> key;
    if (selected.isValid()) {
        key = model_->PathOf(selected);
    }
    if (key != selectedKey_) {
        selectedKey_ = std::move(key);
        emit Change();
    }
}

void FolderTree::OnExpanded(const QModelIndex& index) {
    if (suppressExpandRead_) {
        return;
    }
    try {
        SelectionKeeper keeper(*this);
        RefreshBranch(index);
        keeper.Finish();
    } catch (const std::exception&) {
        // What was read so far stays; the next expansion reads again.
    }
}

void FolderTree::OnVolumesChanged(const std::vector<Volume>& volumes,
                                  const std::vector<std::string>& changedMountPoints) {
    try {
        SelectionKeeper keeper(*this);
        model_->SetVolumes(volumes);
        const QModelIndex top = model_->TopIndex();
        const bool computer = model_->RootIsComputer();
        if (computer && model_->IsRead(top)) {
            ReadNode(top);
        }
        bool rootRead = false;
        for (const std::string& mountPoint : changedMountPoints) {
            // The player's volume came or went: its tree shows that at once.
            if (!computer && FolderHoldsPath(mountPoint, model_->FolderOf(top))) {
                if (!rootRead) {
                    model_->UpdateTopNode();
                    RefreshBranch(top);
                    rootRead = true;
                }
                continue;
            }
            QModelIndex node = model_->DeepestHolding(mountPoint);
            if (node == top || model_->FolderOf(node) != mountPoint) {
                continue; // not in the tree
            }
            const QModelIndex parent = node.parent();
            if (!(computer && parent == top)) {
                ReadNode(parent); // a mount point is marked, and offered to the filter
                node = model_->ChildHolding(parent, mountPoint);
            }
            if (node.isValid() && model_->FolderOf(node) == mountPoint && model_->IsRead(node)) {
                RefreshOrDrop(node);
            }
        }
        keeper.Finish();
    } catch (const std::exception&) {
        // The tree stays as it was; a refresh reads it again.
    }
}

} // namespace tralvo
