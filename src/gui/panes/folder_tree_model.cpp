#include "gui/panes/folder_tree_model.h"

#include "gui/panes/core/computer_volumes.h"
#include "gui/panes/core/folder_path.h"
#include "gui/panes/icons.h"
#include "gui/qt_text.h"
#include "platform/paths.h"

#include <QSysInfo>
#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace tralvo {

enum class NodeKind { Computer, Volume, Folder };

struct FolderTreeModel::Node {
    NodeKind kind = NodeKind::Folder;
    std::string key;    // a folder's name; a volume's mount point; the top node's folder
    std::string folder; // without a trailing '/'; empty for the computer
    QString text;
    bool mountPoint = false; // shown as a drive, its path ends with '/'
    bool removable = false;
    bool read = false; // invariant: a node that is not read has no children
    bool mayHaveChildren = true;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

// The desktop's icon where its theme has one, else our own: Qt's built-in fall-backs decode
// several large PNG files at start. Without a theme of the desktop's (only the fall-back
// theme hicolor, which holds programs' icons) nothing is looked up: reading the theme's
// index costs several milliseconds at start.
QIcon ThemeIcon(const char* name, TreeGlyph ours) {
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QStringLiteral("hicolor")) {
        return TreeIcon(ours);
    }
    return QIcon::fromTheme(QString::fromLatin1(name), TreeIcon(ours));
}

} // namespace

FolderTreeModel::FolderTreeModel(FileSystem& fs, QObject* parent)
    : QAbstractItemModel(parent), fs_(fs), prefixes_(DefaultVolumePrefixes()) {
    // Looked up once for every tree: per-node icon lookups are what makes big folders slow,
    // and each lookup costs the program's start a little.
    // Kept to the end of the process: icons must not outlive the application object.
    static const Icons* shared = [] {
        auto* icons = new Icons;
        icons->computer = ThemeIcon("computer", TreeGlyph::Computer);
        icons->fixedDrive = ThemeIcon("drive-harddisk", TreeGlyph::FixedDrive);
        icons->removableDrive = ThemeIcon("drive-removable-media", TreeGlyph::RemovableDrive);
        icons->folder = ThemeIcon("folder", TreeGlyph::Folder);
        return icons;
    }();
    icons_ = *shared;
}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::Reset(std::unique_ptr<Node> top) {
    beginResetModel();
    top_ = std::move(top);
    endResetModel();
}

void FolderTreeModel::ResetToComputer() {
    auto top = std::make_unique<Node>();
    top->kind = NodeKind::Computer;
    top->text = QSysInfo::machineHostName();
    Reset(std::move(top));
}

void FolderTreeModel::ResetToFolder(const std::string& folder) {
    auto top = std::make_unique<Node>();
    top->key = folder;
    top->folder = folder;
    Reset(std::move(top));
    UpdateTopNode();
}

void FolderTreeModel::UpdateTopNode() {
    if (!top_ || top_->kind == NodeKind::Computer) {
        return;
    }
    Node& top = *top_;
    const auto volume = std::find_if(volumes_.begin(), volumes_.end(),
                                     [&](const Volume& v) { return v.mountPoint == top.folder; });
    top.mountPoint = volume != volumes_.end();
    if (top.mountPoint) {
        const ComputerVolume described = DescribeVolume(*volume, ReadVolumeLabels());
        top.text = PathText(described.label);
        top.removable = described.removable;
    } else {
        top.text = PathText(top.folder == "/" ? top.folder : std::string(BaseName(top.folder)));
        top.removable = false;
    }
    const QModelIndex index = TopIndex();
    emit dataChanged(index, index);
}

bool FolderTreeModel::RootIsComputer() const {
    return top_ && top_->kind == NodeKind::Computer;
}

QModelIndex FolderTreeModel::TopIndex() const {
    return top_ ? createIndex(0, 0, top_.get()) : QModelIndex();
}

FolderTreeModel::Node* FolderTreeModel::NodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

int FolderTreeModel::RowOf(const Node* node) {
    if (node->parent == nullptr) {
        return 0;
    }
    const auto& siblings = node->parent->children;
    const auto found = std::lower_bound(siblings.begin(), siblings.end(), node->key,
                                        [](const std::unique_ptr<Node>& a, const std::string& key) {
                                            return FolderNameLess(a->key, key);
                                        });
    if (found != siblings.end() && found->get() == node) {
        return static_cast<int>(found - siblings.begin());
    }
    const auto linear =
        std::find_if(siblings.begin(), siblings.end(),
                     [&](const std::unique_ptr<Node>& n) { return n.get() == node; });
    return static_cast<int>(linear - siblings.begin());
}

QModelIndex FolderTreeModel::IndexOf(const Node* node) const {
    return node == nullptr ? QModelIndex() : createIndex(RowOf(node), 0, node);
}

std::string FolderTreeModel::PathOf(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    if (node == nullptr) {
        return {};
    }
    return node->mountPoint ? VolumePath(node->folder) : node->folder;
}

std::string FolderTreeModel::FolderOf(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node == nullptr ? std::string() : node->folder;
}

bool FolderTreeModel::IsRead(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node != nullptr && node->read;
}

std::vector<std::unique_ptr<FolderTreeModel::Node>> FolderTreeModel::ReadVolumeNodes() const {
    std::vector<std::unique_ptr<Node>> nodes;
    for (const ComputerVolume& volume :
         ComputerVolumes(fs_, volumes_, prefixes_, ReadVolumeLabels())) {
        if (filter_ && !filter_(VolumePath(volume.mountPoint))) {
            continue;
        }
        auto node = std::make_unique<Node>();
        node->kind = NodeKind::Volume;
        node->key = volume.mountPoint;
        node->folder = volume.mountPoint;
        node->text = volume.label == volume.mountPoint
                         ? PathText(volume.mountPoint)
                         : PathText(volume.label + " (" + volume.mountPoint + ")");
        node->mountPoint = true;
        node->removable = volume.removable;
        nodes.push_back(std::move(node));
    }
    return nodes;
}

std::vector<std::unique_ptr<FolderTreeModel::Node>>
FolderTreeModel::ReadFolderNodes(const Node& parent) const {
    std::vector<Subfolder> subfolders;
    // A folder that cannot be listed (gone, no access, a player unplugged) has no children.
    (void)ReadSubfolders(fs_, parent.folder, mountPoints_, filter_, subfolders);
    std::vector<std::unique_ptr<Node>> nodes;
    nodes.reserve(subfolders.size());
    for (Subfolder& subfolder : subfolders) {
        auto node = std::make_unique<Node>();
        node->text = PathText(subfolder.name);
        node->key = std::move(subfolder.name);
        node->folder = std::move(subfolder.path);
        node->mountPoint = subfolder.isMountPoint;
        node->mayHaveChildren = subfolder.mayHaveSubfolders;
        if (node->mountPoint) {
            const auto volume =
                std::find_if(volumes_.begin(), volumes_.end(),
                             [&](const Volume& v) { return v.mountPoint == node->folder; });
            node->removable = volume != volumes_.end() && DescribeVolume(*volume, {}).removable;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void FolderTreeModel::ReadChildren(const QModelIndex& index) {
    Node* node = NodeAt(index);
    if (node == nullptr) {
        return;
    }
    Merge(*node, node->kind == NodeKind::Computer ? ReadVolumeNodes() : ReadFolderNodes(*node));
}

void FolderTreeModel::Merge(Node& parent, std::vector<std::unique_ptr<Node>> fresh) {
    const QModelIndex parentIndex = IndexOf(&parent);
    auto& children = parent.children;
    parent.read = true;
    parent.mayHaveChildren = !fresh.empty();

    if (children.empty()) {
        if (!fresh.empty()) {
            beginInsertRows(parentIndex, 0, static_cast<int>(fresh.size()) - 1);
            for (auto& node : fresh) {
                node->parent = &parent;
            }
            children = std::move(fresh);
            endInsertRows();
        }
        return;
    }

    // Vanished folders go, in runs from the end so that rows before a run stay valid.
    std::unordered_set<std::string_view> freshKeys;
    freshKeys.reserve(fresh.size());
    for (const auto& node : fresh) {
        freshKeys.insert(node->key);
    }
    for (int last = static_cast<int>(children.size()) - 1; last >= 0;) {
        if (freshKeys.contains(children[static_cast<std::size_t>(last)]->key)) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 &&
               !freshKeys.contains(children[static_cast<std::size_t>(first - 1)]->key)) {
            --first;
        }
        beginRemoveRows(parentIndex, first, last);
        children.erase(children.begin() + first, children.begin() + last + 1);
        endRemoveRows();
        last = first - 1;
    }

    // The survivors are a subsequence of the fresh list, both in name order: walk them
    // together, inserting the runs of new folders between survivors.
    std::size_t at = 0;
    int firstChanged = -1;
    int lastChanged = -1;
    for (std::size_t next = 0; next < fresh.size();) {
        if (at < children.size() && children[at]->key == fresh[next]->key) {
            Node& kept = *children[at];
            Node& seen = *fresh[next];
            if (kept.text != seen.text || kept.mountPoint != seen.mountPoint ||
                kept.removable != seen.removable ||
                (!kept.read && kept.mayHaveChildren != seen.mayHaveChildren)) {
                kept.text = seen.text;
                kept.mountPoint = seen.mountPoint;
                kept.removable = seen.removable;
                if (!kept.read) {
                    kept.mayHaveChildren = seen.mayHaveChildren;
                }
                firstChanged = firstChanged < 0 ? static_cast<int>(at) : firstChanged;
                lastChanged = static_cast<int>(at);
            }
            ++at;
            ++next;
            continue;
        }
        std::size_t runEnd = next;
        while (runEnd < fresh.size() &&
               !(at < children.size() && children[at]->key == fresh[runEnd]->key)) {
            ++runEnd;
        }
        const auto count = runEnd - next;
        beginInsertRows(parentIndex, static_cast<int>(at), static_cast<int>(at + count) - 1);
        for (std::size_t i = next; i < runEnd; ++i) {
            fresh[i]->parent = &parent;
        }
        children.insert(
            children.begin() + static_cast<std::ptrdiff_t>(at),
            std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(next)),
            std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(runEnd)));
        endInsertRows();
        at += count;
        next = runEnd;
    }
    if (firstChanged >= 0) {
        emit dataChanged(index(firstChanged, 0, parentIndex), index(lastChanged, 0, parentIndex));
    }
}

void FolderTreeModel::MarkUnread(const QModelIndex& index) {
    Node* node = NodeAt(index);
    if (node == nullptr) {
        return;
    }
    if (!node->children.empty()) {
        beginRemoveRows(index, 0, static_cast<int>(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->read = false;
    node->mayHaveChildren = true;
}

QModelIndex FolderTreeModel::ChildHolding(const QModelIndex& index,
                                          const std::string& folder) const {
    const Node* node = NodeAt(index);
    if (node == nullptr) {
        return {};
    }
    const auto& children = node->children;
    if (node->kind == NodeKind::Computer) {
        const Node* best = nullptr;
        for (const auto& child : children) {
            if (FolderHoldsPath(child->folder, folder) &&
                (best == nullptr || child->folder.size() > best->folder.size())) {
                best = child.get();
            }
        }
        return IndexOf(best);
    }
    const std::string_view name = NextComponent(node->folder, folder);
    if (name.empty()) {
        return {};
    }
    const auto found = std::lower_bound(children.begin(), children.end(), name,
                                        [](const std::unique_ptr<Node>& a, std::string_view key) {
                                            return FolderNameLess(a->key, key);
                                        });
    if (found == children.end() || (*found)->key != name) {
        return {};
    }
    return createIndex(static_cast<int>(found - children.begin()), 0, found->get());
}

QModelIndex FolderTreeModel::DeepestHolding(const std::string& folder) const {
    QModelIndex node = TopIndex();
    for (QModelIndex child = ChildHolding(node, folder); child.isValid();
         child = ChildHolding(node, folder)) {
        node = child;
    }
    return node;
}

void FolderTreeModel::SetDirAddFilter(FolderFilter filter) {
    filter_ = std::move(filter);
}

void FolderTreeModel::SetVolumes(std::vector<Volume> volumes) {
    volumes_ = std::move(volumes);
    mountPoints_.clear();
    for (const Volume& volume : volumes_) {
        mountPoints_.insert(volume.mountPoint);
    }
}

void FolderTreeModel::SetVolumePrefixes(std::vector<std::string> prefixes) {
    prefixes_ = std::move(prefixes);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    const Node* node = NodeAt(parent);
    if (node == nullptr) {
        return row == 0 ? TopIndex() : QModelIndex();
    }
    if (static_cast<std::size_t>(row) >= node->children.size()) {
        return {};
    }
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    const Node* node = NodeAt(child);
    return node == nullptr ? QModelIndex() : IndexOf(node->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    const Node* node = NodeAt(parent);
    if (node == nullptr) {
        return top_ ? 1 : 0;
    }
    return static_cast<int>(node->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex& /*parent*/) const {
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    const Node* node = NodeAt(parent);
    if (node == nullptr) {
        return top_ != nullptr;
    }
    return node->read ? !node->children.empty() : node->mayHaveChildren;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeAt(index);
    if (node == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return node->text;
    case Qt::DecorationRole:
        if (node->kind == NodeKind::Computer) {
            return icons_.computer;
        }
        if (node->mountPoint) {
            return node->removable ? icons_.removableDrive : icons_.fixedDrive;
        }
        return icons_.folder;
    case Qt::ToolTipRole:
        return node->kind == NodeKind::Computer ? QVariant() : QVariant(PathText(PathOf(index)));
    default:
        return {};
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace tralvo
