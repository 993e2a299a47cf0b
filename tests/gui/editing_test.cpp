// Moving tracks in the list by buttons, keys and drags, through the real main window.
#include "gui/main_window/main_window.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "media/writers/id3v2_writer.h"
#include "platform/shell_file_operation.h"
#include "program_fixture.h"

#include <QKeyEvent>

namespace tralvo {
namespace {

class EditingTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const std::string player = folder.MakeFolder("player");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) {
            folder.WriteFile(std::string("player/") + name, test::AsString(test::Mp3File({})));
        }
        // File-name order: the list shows a, b, c, d whatever the folder's listing order.
        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\nType=1\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
        ASSERT_EQ(Order(), "abcd");
    }
    std::string Order() const {
        std::string order;
        for (const TrackEntry& entry : Pane().Tracks()) {
            order += entry.display.front();
        }
        return order;
    }
    void Select(std::initializer_list<int> rows) {
        auto* selection = TracksLB()->selectionModel();
        selection->clear();
        for (const int row : rows) {
            selection->setCurrentIndex(TracksLB()->model()->index(row, 0),
                                       QItemSelectionModel::Select);
        }
    }
    int Current() const { return TracksLB()->currentIndex().row(); }
    void Type(QWidget* list, int key, Qt::KeyboardModifiers modifiers, const QString& text = {},
              QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(list, &event);
    }
    int RowY(int row) const {
        return TracksLB()->visualRect(TracksLB()->model()->index(row, 0)).center().y();
    }
};

TEST_F(EditingTest, UpAndDownMoveTheCurrentTrackWithinTheList) {
    Select({2});
    Click("UpBtn");
    EXPECT_EQ(Order(), "acbd");
    EXPECT_EQ(Current(), 1);
    EXPECT_TRUE(Pane().Changed());
    Click("DownBtn");
    Click("DownBtn");
    EXPECT_EQ(Order(), "abdc");
    EXPECT_EQ(Current(), 3);
}

TEST_F(EditingTest, NothingMovesPastTheEndsOrWithTwoSelected) {
    Select({0});
    Click("UpBtn");
    Select({3});
    Click("DownBtn");
    EXPECT_FALSE(Pane().Changed());
    Select({1, 2});
    Click("UpBtn");
    Click("DownBtn");
    Type(TracksLB(), Qt::Key_Plus, Qt::NoModifier, "+");
    EXPECT_EQ(Order(), "abcd");
    EXPECT_FALSE(Pane().Changed());
}

TEST_F(EditingTest, PlusAndMinusMoveDownAndUpWhateverTheModifiers) {
    Select({1});
    Type(TracksLB(), Qt::Key_Plus, Qt::ShiftModifier | Qt::KeypadModifier, "+");
    EXPECT_EQ(Order(), "acbd");
    Type(TracksLB(), Qt::Key_Minus, Qt::NoModifier, "-");
    Type(TracksLB(), Qt::Key_Minus, Qt::NoModifier, "-");
    EXPECT_EQ(Order(), "bacd");
}

TEST_F(EditingTest, CtrlAReleasedSelectsAllAndCtrlShiftADoesNot) {
    Select({1});
    Type(TracksLB(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, "", QEvent::KeyRelease);
    EXPECT_EQ(TracksLB()->selectionModel()->selectedRows().size(), 1);
    Type(TracksLB(), Qt::Key_A, Qt::ControlModifier, "", QEvent::KeyRelease);
    EXPECT_EQ(TracksLB()->selectionModel()->selectedRows().size(), 4);
}

TEST_F(EditingTest, ADraggedTrackFollowsThePointerAndDroppingMarksTheList) {
    main->show();
    Select({2});
    ASSERT_TRUE(TracksLB()->onStartDrag());
    EXPECT_TRUE(TracksLB()->onDragOver(TracksLB(), RowY(0)));
    EXPECT_EQ(Order(), "cabd");
    TracksLB()->onDrop(TracksLB());
    TracksLB()->onEndDrag();
    EXPECT_EQ(Order(), "cabd");
    EXPECT_TRUE(Pane().Changed());
    // The drop ended the reorder drag: a second end puts nothing back.
    TracksLB()->onEndDrag();
    EXPECT_EQ(Order(), "cabd");
}

TEST_F(EditingTest, DraggingAwayAndBackLeavesTheMarkAsItWas) {
    main->show();
    Select({2});
    ASSERT_TRUE(TracksLB()->onStartDrag());
    TracksLB()->onDragOver(TracksLB(), RowY(0));
    TracksLB()->onDragOver(TracksLB(), RowY(2));
    TracksLB()->onDrop(TracksLB());
    TracksLB()->onEndDrag();
    EXPECT_EQ(Order(), "abcd");
    EXPECT_FALSE(Pane().Changed());
}

TEST_F(EditingTest, BelowTheLastRowMeansLastAndACancelledDragPutsTheTrackBack) {
    main->show();
    Select({0});
    ASSERT_TRUE(TracksLB()->onStartDrag());
    TracksLB()->onDragOver(TracksLB(), TracksLB()->viewport()->height() - 1);
    EXPECT_EQ(Order(), "bcda");
    TracksLB()->onEndDrag(); // Escape, or dropped on the folder tree
    EXPECT_EQ(Order(), "abcd");
    EXPECT_EQ(Current(), 0);
    EXPECT_FALSE(Pane().Changed());
}

TEST_F(EditingTest, SeveralSelectedTracksGoOnlyToTheFileList) {
    main->show();
    Select({0, 1});
    EXPECT_TRUE(TracksLB()->onStartDrag());
    EXPECT_FALSE(TracksLB()->onDragOver(TracksLB(), RowY(3)));
    TracksLB()->onEndDrag();
    EXPECT_EQ(Order(), "abcd");
    EXPECT_TRUE(FileList().onDragOver(TracksLB(), 0));
    EXPECT_FALSE(FileList().onDragOver(&FileList(), 0));
    TracksLB()->selectionModel()->clear();
    EXPECT_FALSE(TracksLB()->onStartDrag());
}

// Copies and deletes nothing, and keeps what it was asked.
struct RecordingShell : ShellFileOperation {
    std::vector<std::string> copied;
    std::vector<std::string> deleted;
    void Copy(const std::vector<std::string>& sources, const std::vector<std::string>&) override {
        copied.insert(copied.end(), sources.begin(), sources.end());
    }
    void Delete(const std::vector<std::string>& paths) override {
        deleted.insert(deleted.end(), paths.begin(), paths.end());
    }
};

// The keys of both lists, row by row: each runs its button's command and is consumed; with
// another modifier, or in the other list, it keeps the list's own meaning.
TEST_F(EditingTest, TheKeysOfBothListsRunTheirCommands) {
    const std::string music = folder.MakeFolder("music");
    folder.WriteFile("music/new.mp3", test::AsString(test::Mp3File({})));
    Computer().ShowFolder(music);
    RecordingShell shell;
    main->SetShellFileOperation(&shell);
    PaneListView* files = &FileList();
    files->selectAll();
    Select({1});

    Type(files, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(shell.copied.empty());
    Type(files, Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(shell.copied, std::vector<std::string>{music + "/new.mp3"});
    Type(TracksLB(), Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(shell.copied.back(), folder / "player/b.mp3");
    Type(TracksLB(), Qt::Key_Left, Qt::ControlModifier); // the list's own: no download
    EXPECT_EQ(shell.copied.size(), 2u);

    Type(TracksLB(), Qt::Key_Delete, Qt::NoModifier);
    Type(files, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(shell.deleted,
              (std::vector<std::string>{folder / "player/b.mp3", music + "/new.mp3"}));

    // The tracks have no tags: the properties say so, for each list.
    Type(TracksLB(), Qt::Key_Return, Qt::AltModifier);
    Type(files, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    Type(files, Qt::Key_Return, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"NoProperties", "NoProperties"}));
    main->SetShellFileOperation(nullptr);
}

} // namespace
} // namespace tralvo
