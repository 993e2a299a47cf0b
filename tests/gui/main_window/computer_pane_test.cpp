// The computer pane on its own: what its keys, buttons and drops ask of the window.
#include "gui/main_window/computer_pane.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/pane_list_view.h"
#include "program_fixture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

namespace tralvo {
namespace {

class ComputerPaneTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        music = folder.MakeFolder("music");
        for (const char* name : {"b.mp3", "a.mp3", "notes.txt"}) {
            folder.WriteFile(std::string("music/") + name, "x");
        }
        pane = std::make_unique<ComputerPane>(Settings, SystemFileSystem(),
                                              [this] { return folder / "player"; });
        pane->ShowFolder(music);
        list = pane->findChild<PaneListView*>(QStringLiteral("FilesLB"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(pane->Files().Names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));

        QObject::connect(pane.get(), &ComputerPane::UploadRequested,
                         [this] { asked += "upload "; });
        QObject::connect(pane.get(), &ComputerPane::DownloadRequested,
                         [this] { asked += "download "; });
        QObject::connect(pane.get(), &ComputerPane::DeleteRequested,
                         [this] { asked += "delete "; });
        QObject::connect(pane.get(), &ComputerPane::SettingsRequested,
                         [this] { asked += "settings "; });
        QObject::connect(pane.get(), &ComputerPane::HelpRequested, [this] { asked += "help "; });
        QObject::connect(pane.get(), &ComputerPane::AboutRequested, [this] { asked += "about "; });
        QObject::connect(pane.get(), &ComputerPane::PropertiesRequested,
                         [this](const std::string& path) { asked += "properties:" + path + " "; });
        QObject::connect(pane.get(), &ComputerPane::PlayRequested,
                         [this](const std::string& path) { asked += "play:" + path + " "; });
    }
    void TearDown() override {
        pane.reset();
        ProgramFolderFixture::TearDown();
    }
    void Type(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(list, &event);
    }
    void Select(std::initializer_list<int> rows) {
        list->selectionModel()->clear();
        for (const int row : rows) {
            list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                    QItemSelectionModel::Select);
        }
    }
    void Click(const char* button) {
        auto* found = pane->findChild<QToolButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    std::string music;
    std::unique_ptr<ComputerPane> pane;
    PaneListView* list = nullptr;
    std::string asked;
};

TEST_F(ComputerPaneTest, KeysAskForTheirCommandsAndOtherModifiersDoNot) {
    Select({1});
    Type(Qt::Key_Right, Qt::NoModifier);
    Type(Qt::Key_Right, Qt::ShiftModifier);
    Type(Qt::Key_Delete, Qt::NoModifier);
    Type(Qt::Key_Delete, Qt::ControlModifier);
    Type(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(asked, "upload delete properties:" + music + "/b.mp3 ");
}

TEST_F(ComputerPaneTest, TheToolBarAsksForItsCommands) {
    Select({0});
    for (const char* button : {"UploadBtn", "MyComputerDeleteBtn", "MyComputerPropertiesBtn",
                               "SettingsBtn", "HelpBtn", "AboutBtn"}) {
        Click(button);
    }
    EXPECT_EQ(asked, "upload delete properties:" + music + "/a.mp3 settings help about ");
}

TEST_F(ComputerPaneTest, PropertiesAreAskedOnlyForExactlyOneSelectedFile) {
    Select({0, 1});
    Click("MyComputerPropertiesBtn");
    Select({});
    Click("MyComputerPropertiesBtn");
    EXPECT_EQ(asked, "");
}

TEST_F(ComputerPaneTest, OnlyTracksOfTheAcceptedListMayBeDroppedAndAreDownloaded) {
    PaneListView tracks;
    EXPECT_FALSE(list->onDragOver(&tracks, 0)); // nothing accepted yet
    pane->AcceptDropsFrom(&tracks);
    EXPECT_TRUE(list->onDragOver(&tracks, 0));
    EXPECT_FALSE(list->onDragOver(list, 0));
    EXPECT_FALSE(list->onDragOver(nullptr, 0));
    list->onDrop(list);
    list->onDrop(&tracks);
    EXPECT_EQ(asked, "download ");
}

TEST_F(ComputerPaneTest, ADragStartsOnlyWithASelection) {
    Select({});
    EXPECT_FALSE(list->onStartDrag());
    Select({0});
    EXPECT_TRUE(list->onStartDrag());
}

TEST_F(ComputerPaneTest, TheFileToPlayIsTheCurrentOneWhileTheListHasTheFocus) {
    pane->show();
    QApplication::setActiveWindow(pane.get());
    Select({1});
    pane->Tree()->setFocus();
    EXPECT_EQ(pane->FileToPlay(), std::nullopt); // the focus is elsewhere
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    EXPECT_EQ(pane->FileToPlay(), music + "/b.mp3");

    const QPoint item = list->visualRect(list->model()->index(1, 0)).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, item, list->viewport()->mapToGlobal(item),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &click);
    EXPECT_EQ(asked, "play:" + music + "/b.mp3 ");

    Select({0, 1});
    EXPECT_EQ(pane->FileToPlay(), std::nullopt);
}

TEST(ComputerTree, LeavesOutThePlayerFolderWithOrWithoutItsSlash) {
    EXPECT_FALSE(ShownInComputerTree("/media/player", "/media/player"));
    EXPECT_FALSE(ShownInComputerTree("/media/player/", "/media/player"));
    EXPECT_FALSE(ShownInComputerTree("/media/player", "/media/player/"));
    EXPECT_TRUE(ShownInComputerTree("/media/Player", "/media/player")); // two volumes here
    EXPECT_TRUE(ShownInComputerTree("/media", "/media/player"));
    EXPECT_TRUE(ShownInComputerTree("/media/player/Music", "/media/player"));
}

} // namespace
} // namespace tralvo
