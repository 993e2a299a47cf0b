#include "gui/panes/folder_tree.h"
#include "gui/panes/wait_cursor.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QIcon>
#include <QMouseEvent>
#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

std::vector<std::string> ChildTexts(const FolderTree& tree, const QModelIndex& parent) {
    std::vector<std::string> texts;
    for (int row = 0; row < tree.model()->rowCount(parent); ++row) {
        texts.push_back(tree.model()->index(row, 0, parent).data().toString().toStdString());
    }
    return texts;
}

// A root folder holding a, a/b/c, a/x, B, c, .hidden and a file, with a tree on it.
class FolderTreeTest : public ::testing::Test {
protected:
    FolderTreeTest() {
        temp.MakeFolder("a/b/c");
        temp.MakeFolder("a/x");
        temp.MakeFolder("B");
        temp.MakeFolder("c");
        temp.MakeFolder(".hidden");
        temp.WriteFile("file.txt", "x");
        QObject::connect(&tree, &FolderTree::Change, [this] { ++changes; });
    }

    QModelIndex Top() const { return tree.model()->index(0, 0); }
    QModelIndex Child(const QModelIndex& parent, const std::string& text) const {
        for (int row = 0; row < tree.model()->rowCount(parent); ++row) {
            const QModelIndex child = tree.model()->index(row, 0, parent);
            if (child.data().toString().toStdString() == text) {
                return child;
            }
        }
        return {};
    }

    test::TempFolder temp;
    FolderTree tree;
    int changes = 0;
};

TEST_F(FolderTreeTest, RootDirShowsItsFolderExpandedWithHiddenFoldersInNameOrder) {
    tree.SetRootDir(temp.path());
    EXPECT_EQ(tree.RootDir(), temp.path());
    EXPECT_EQ(Top().data().toString().toStdString(),
              std::filesystem::path(temp.path()).filename().string());
    EXPECT_TRUE(tree.isExpanded(Top()));
    EXPECT_EQ(ChildTexts(tree, Top()), (std::vector<std::string>{".hidden", "a", "B", "c"}));
    EXPECT_EQ(tree.Path(), temp.path()); // nothing was selected: the top node is
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(tree.model()->hasChildren(Child(Top(), "c")));
    EXPECT_TRUE(tree.model()->hasChildren(Child(Top(), "a")));
    // No icon theme here: our own folder picture, not Qt's fall-back.
    EXPECT_EQ(Child(Top(), "a").data(Qt::DecorationRole).value<QIcon>().name(),
              QStringLiteral("tree/folder.svg"));
}

// Reads while the program starts show no wait cursor; once its window is on screen they do.
TEST(WaitCursor, ShowsOnceTheProgramIsOnScreen) {
    {
        const WaitCursor wait;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    WaitCursor::ProgramOnScreen();
    {
        const WaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FolderTreeTest, PathWriteSelectsDeepFolderAndSkipsTheSamePath) {
    tree.SetRootDir(temp.path());
    changes = 0;
    tree.SetPath(temp / "a/b/c");
    EXPECT_EQ(tree.Path(), temp / "a/b/c");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(tree.isExpanded(Child(Top(), "a")));
    EXPECT_EQ(tree.currentIndex(), tree.selectionModel()->selectedIndexes().value(0));

    tree.SetPath(temp / "a/b/c");
    tree.SetPath(temp / "a/b/c/"); // another text for the same folder selects the same node
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderTreeTest, PathWriteOfDeletedFolderSelectsNearestExistingParent) {
    tree.SetRootDir(temp.path());
    tree.SetPath(temp / "a/b/gone/deeper");
    EXPECT_EQ(tree.Path(), temp / "a/b");
}

TEST_F(FolderTreeTest, PathOutsideRootSelectsNothingNewUntilARootWriteTakesIt) {
    tree.SetRootDir(temp / "B");
    changes = 0;
    tree.SetPath(temp / "a/x");
    EXPECT_EQ(tree.Path(), temp / "B");
    EXPECT_EQ(changes, 0);
    tree.SetRootDir(temp / "a");
    EXPECT_EQ(tree.Path(), temp / "a/x");
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderTreeTest, RootWriteSelectsTheOldPathBelowTheNewRootElseTheRoot) {
    tree.SetRootDir(temp.path());
    tree.SetPath(temp / "a/b");
    changes = 0;
    tree.SetRootDir(temp / "a/");
    EXPECT_EQ(tree.RootDir(), temp / "a");
    EXPECT_EQ(tree.Path(), temp / "a/b");
    EXPECT_EQ(changes, 0); // the same folder stays selected
    EXPECT_EQ(tree.model()->rowCount(), 1);

    tree.SetRootDir(temp / "a/gone"); // cut back to the current root: nothing happens
    EXPECT_EQ(tree.Path(), temp / "a/b");

    tree.SetRootDir(temp / "B");
    EXPECT_EQ(tree.Path(), temp / "B");
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderTreeTest, RefreshKeepsExpansionAndSelectionAndFollowsTheDisk) {
    tree.SetRootDir(temp.path());
    tree.SetPath(temp / "a/b");
    tree.collapse(Child(Top(), "a"));
    tree.expand(Child(Top(), "a"));
    changes = 0;
    temp.MakeFolder("d");
    temp.MakeFolder("a/new");
    std::filesystem::remove(temp / "c");
    tree.Refresh();
    EXPECT_EQ(ChildTexts(tree, Top()), (std::vector<std::string>{".hidden", "a", "B", "d"}));
    EXPECT_EQ(ChildTexts(tree, Child(Top(), "a")), (std::vector<std::string>{"b", "new", "x"}));
    EXPECT_TRUE(tree.isExpanded(Child(Top(), "a")));
    EXPECT_EQ(tree.Path(), temp / "a/b");
    EXPECT_EQ(changes, 0);
}

TEST_F(FolderTreeTest, RefreshSelectsNearestSurvivingAncestorWhenTheSelectedFolderVanished) {
    tree.SetRootDir(temp.path());
    tree.SetPath(temp / "a/b/c");
    changes = 0;
    std::filesystem::remove_all(temp / "a/b");
    tree.Refresh();
    EXPECT_EQ(tree.Path(), temp / "a");
    EXPECT_EQ(changes, 1);
}

TEST_F(FolderTreeTest, ExpandingReadsTheFolderAgain) {
    tree.SetRootDir(temp.path());
    const QModelIndex a = Child(Top(), "a");
    tree.expand(a);
    tree.collapse(a);
    temp.MakeFolder("a/later");
    tree.expand(a);
    EXPECT_EQ(ChildTexts(tree, a), (std::vector<std::string>{"b", "later", "x"}));
}

TEST_F(FolderTreeTest, DirAddFilterLeavesFoldersOut) {
    std::vector<std::string> asked;
    tree.SetDirAddFilter([&](const std::string& path) {
        asked.push_back(path);
        return path != temp / "a";
    });
    asked.clear(); // the computer's volumes, read before the filter came, met it then
    tree.SetRootDir(temp.path());
    EXPECT_EQ(ChildTexts(tree, Top()), (std::vector<std::string>{".hidden", "B", "c"}));
    EXPECT_EQ(asked.size(), 4u);
    tree.SetPath(temp / "a/b"); // left out: not selectable either
    EXPECT_EQ(tree.Path(), temp.path());
}

TEST_F(FolderTreeTest, ComputerRootShowsVolumesAndItsNodeHasAnEmptyPath) {
    EXPECT_EQ(tree.RootDir(), "");
    EXPECT_EQ(tree.Path(), "");
    tree.SetPath(temp / "a");
    EXPECT_EQ(tree.Path(), temp / "a");
    const QModelIndex root = Child(Top(), "/");
    ASSERT_TRUE(root.isValid());
    EXPECT_EQ(root.data(Qt::ToolTipRole).toString().toStdString(), "/");

    changes = 0;
    tree.selectionModel()->setCurrentIndex(Top(), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(tree.Path(), "");
    EXPECT_EQ(changes, 1);
}

void Click(FolderTree& tree, const QModelIndex& index, Qt::MouseButton button) {
    const QPoint at = tree.visualRect(index).center();
    const QPoint global = tree.viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &release);
}

TEST_F(FolderTreeTest, RightClickDoesNotSelectAndNothingIsEditable) {
    tree.SetRootDir(temp.path());
    tree.resize(300, 300);
    tree.show();
    Click(tree, Child(Top(), "a"), Qt::RightButton);
    EXPECT_EQ(tree.Path(), temp.path());
    Click(tree, Child(Top(), "a"), Qt::LeftButton);
    EXPECT_EQ(tree.Path(), temp / "a");
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(tree.model()->flags(Top()).testFlag(Qt::ItemIsEditable));
    EXPECT_EQ(tree.indentation(), 19);
    EXPECT_EQ(tree.contextMenuPolicy(), Qt::NoContextMenu);
}

// The player pane refuses a folder change by writing the old path back from its handler.
TEST_F(FolderTreeTest, ChangeHandlerCanPutTheSelectionBack) {
    tree.SetRootDir(temp.path());
    tree.SetPath(temp / "a");
    tree.resize(300, 300);
    tree.show();
    changes = 0;
    QObject::connect(&tree, &FolderTree::Change, [&] {
        if (tree.Path() != temp / "a") {
            tree.SetPath(temp / "a");
        }
    });
    Click(tree, Child(Top(), "B"), Qt::LeftButton);
    EXPECT_EQ(tree.Path(), temp / "a");
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace tralvo
