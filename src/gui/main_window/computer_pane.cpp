#include "gui/main_window/computer_pane.h"

#include "arrange/track_loading.h"
#include "gui/main_window/event_hook.h"
#include "gui/main_window/list_commands.h"
#include "gui/main_window/pane_parts.h"
#include "gui/panes/core/file_listing.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/icons.h"
#include "gui/panes/list_work.h"
#include "gui/panes/pane_list_view.h"
#include "gui/qt_text.h"
#include "gui/widgets/apply_language.h"
#include "settings/settings_store.h"

#include <QBoxLayout>
#include <QCollator>
#include <QToolButton>
#include <algorithm>

namespace tralvo {

namespace {

// The user locale's collation without regard to case, keys made once per name.
void SortByCollation(std::vector<std::string>& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, std::size_t>> keys;
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        // Folded first: in the C locale the collator compares code points and would put
        // every capital before every small letter.
        keys.emplace_back(collator.sortKey(PathText(names[i]).toCaseFolded()), i);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(names[key.second]));
    }
    names = std::move(sorted);
}

} // namespace

bool ShownInComputerTree(const std::string& path, const std::string& playerRoot) {
    return FolderWithSlash(path) != FolderWithSlash(playerRoot);
}

ComputerPane::ComputerPane(const UserSettings& settings, FileSystem& fs,
                           std::function<std::string()> playerRoot, QWidget* parent)
    : QWidget(parent), fs_(fs), playerRoot_(std::move(playerRoot)) {
    setObjectName(QStringLiteral("MyComputerPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    const PaneToolbar bar = AddPaneToolbar(*this, "MyComputerCoolbar", "MyComputerToolbar");
    QToolButton* refresh = AddToolButton(bar.toolbar, "MyComputerRefreshBtn", 0);
    AddSeparator(bar.toolbar, "Separator1");
    QToolButton* properties = AddToolButton(bar.toolbar, "MyComputerPropertiesBtn", 1);
    QToolButton* upload = AddToolButton(bar.toolbar, "UploadBtn", 2);
    QToolButton* remove = AddToolButton(bar.toolbar, "MyComputerDeleteBtn", 3);
    AddSeparator(bar.toolbar, "Separator2");
    QToolButton* settingsButton = AddToolButton(bar.toolbar, "SettingsBtn", 4);
    QToolButton* help = AddToolButton(bar.toolbar, "HelpBtn", 5);
    QToolButton* about = AddToolButton(bar.toolbar, "AboutBtn", 6);

    tree_ = AddFolderBox(*this,
                         {"MyComputerFolderSB", "MyComputerImg", "MyComputerLbl", "MyComputerShape",
                          "MyComputerST"},
                         ComputerHeaderIcon(), fs_)
                .tree;
    files_ = new FileListModel(this);
    list_ = AddPaneList(*this, "FilesLB", files_, false, settings.LargeFileIconsAtStart);
    // Assistive technology names the tree and the list after the pane's caption.
    SetNamedBy(*tree_, "MyComputerLbl");
    SetNamedBy(*list_, "MyComputerLbl");
    setMinimumWidth(ComputerPaneWidth);

    connect(refresh, &QToolButton::clicked, this, &ComputerPane::Refresh);
    connect(properties, &QToolButton::clicked, this, &ComputerPane::RequestProperties);
    connect(upload, &QToolButton::clicked, this, &ComputerPane::UploadRequested);
    connect(remove, &QToolButton::clicked, this, &ComputerPane::DeleteRequested);
    connect(settingsButton, &QToolButton::clicked, this, &ComputerPane::SettingsRequested);
    connect(help, &QToolButton::clicked, this, &ComputerPane::HelpRequested);
    connect(about, &QToolButton::clicked, this, &ComputerPane::AboutRequested);

    connect(tree_, &FolderTree::Change, this, &ComputerPane::ShowFilesOfFolder);
    tree_->SetDirAddFilter(
        [this](const std::string& path) { return ShownInComputerTree(path, playerRoot_()); });
    tree_->SetRootComputer();

    RedrawSelectionOnFocusOut(*list_);
    // A double click anywhere in the list plays its current file, as the Play button does.
    new EventHook(list_->viewport(), [this](QEvent& event) {
        if (event.type() == QEvent::MouseButtonDblClick) {
            if (const std::optional<std::string> path = FileToPlay()) {
                emit PlayRequested(*path);
            }
        }
        return false;
    });
    list_->onKeyDown = [this](QKeyEvent* event) { return KeyDown(*event); };
    list_->onKeyUp = [this](QKeyEvent* event) { SelectAllOnCtrlA(*list_, *event); };
    list_->onStartDrag = [this] {
        list_->setFocus();
        return SelectedCount(*list_) > 0;
    };
    list_->onDragOver = [this](QObject* source, int) {
        return source != nullptr && source == dropSource_;
    };
    list_->onDrop = [this](QObject* source) {
        if (source != nullptr && source == dropSource_) {
            emit DownloadRequested();
        }
    };
}

std::string ComputerPane::Folder() const {
    return tree_->Path();
}

void ComputerPane::ShowFolder(const std::string& path) {
    tree_->SetPath(path);
}

void ComputerPane::RefreshTree() {
    tree_->Refresh();
}

QListView* ComputerPane::List() const {
    return list_;
}

QWidget* ComputerPane::Tree() const {
    return tree_;
}

std::vector<std::size_t> ComputerPane::SelectedRows() const {
    return tralvo::SelectedRows(*list_);
}

std::optional<std::string> ComputerPane::FileToPlay() const {
    const int index = RowToPlay(*list_);
    if (index < 0) {
        return std::nullopt;
    }
    const std::vector<std::string>& names = files_->Names();
    if (static_cast<std::size_t>(index) >= names.size()) {
        return std::string();
    }
    // A playlist is sent, not played.
    if (IsPlaylistFileName(names[static_cast<std::size_t>(index)])) {
        return std::nullopt;
    }
    return FolderWithSlash(Folder()) + names[static_cast<std::size_t>(index)];
}

std::optional<std::string> ComputerPane::SelectedPlaylist() const {
    const int row = SingleSelectedRow(*list_);
    const std::vector<std::string>& names = files_->Names();
    if (row < 0 || static_cast<std::size_t>(row) >= names.size() ||
        !IsPlaylistFileName(names[static_cast<std::size_t>(row)])) {
        return std::nullopt;
    }
    return FolderWithSlash(Folder()) + names[static_cast<std::size_t>(row)];
}

void ComputerPane::ShowFilesOfFolder() {
    const ListWork rebuild(*list_);
    // The computer node itself has no folder: its list is empty.
    const std::string folder = Folder();
    std::vector<std::string> names;
    if (!folder.empty()) {
        names = FileListNamesIn(FolderWithSlash(folder), fs_);
    }
    SortByCollation(names);
    files_->SetNames(std::move(names));
}

void ComputerPane::Refresh() {
    tree_->Refresh();
    ShowFilesOfFolder();
}

void ComputerPane::RequestProperties() {
    const int row = SingleSelectedRow(*list_);
    const std::vector<std::string>& names = files_->Names();
    if (row >= 0 && static_cast<std::size_t>(row) < names.size() &&
        !IsPlaylistFileName(names[static_cast<std::size_t>(row)])) {
        emit PropertiesRequested(FolderWithSlash(Folder()) + names[static_cast<std::size_t>(row)]);
    }
}

// The arrows point at the other pane: Right sends the files to the player.
bool ComputerPane::KeyDown(const QKeyEvent& event) {
    return ListKeyDown(
        event, Qt::Key_Right, [this] { emit DeleteRequested(); },
        [this] { emit UploadRequested(); }, [this] { RequestProperties(); });
}

} // namespace tralvo
