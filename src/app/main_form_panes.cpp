// The computer pane and the lists' focus handling of the main window.
#include "app/main_form.h"
#include "app/qt_text.h"
#include "app/settings_store.h"
#include "panes/core/file_listing.h"
#include "panes/file_list_model.h"
#include "panes/shell_tree.h"
#include "panes/wait_cursor.h"

#include <QApplication>
#include <QCollator>
#include <QListView>
#include <algorithm>

namespace tralvo {

namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

// Redrawing stops and the wait cursor shows until the list is rebuilt.
class ListRebuild {
public:
    explicit ListRebuild(QListView& list) : list_(list) { list_.setUpdatesEnabled(false); }
    ~ListRebuild() { list_.setUpdatesEnabled(true); }
    ListRebuild(const ListRebuild&) = delete;
    ListRebuild& operator=(const ListRebuild&) = delete;

private:
    WaitCursor wait_;
    QListView& list_;
};

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

void TMainForm::MyComputerSTChange() {
    const ListRebuild rebuild(*FilesLB);
    // The computer node itself has no folder: its list is empty.
    const std::string folder = MyComputerST->Path();
    std::vector<std::string> names;
    if (!folder.empty()) {
        names = ListAudioFiles(WithSlash(folder), fs_);
    }
    SortByCollation(names);
    FilesModel->SetNames(std::move(names));
}

void TMainForm::MyComputerRefreshBtnClick() {
    MyComputerST->Refresh();
    MyComputerSTChange();
}

// The player's own volume never shows in the computer tree. Compared exactly: on this system
// two folders may differ only in letter case.
bool TMainForm::MyComputerSTDirAdd(const std::string& path) {
    return WithSlash(path) != WithSlash(GetPlayerRoot());
}

void TMainForm::FilesLBExit(QListView* list) {
    if (list->selectionModel() != nullptr && list->selectionModel()->hasSelection()) {
        list->viewport()->update();
    }
}

} // namespace tralvo
