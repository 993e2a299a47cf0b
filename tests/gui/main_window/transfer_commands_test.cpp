// Upload, download and delete between two panes of their own: what each request copies or
// deletes, and the window around a transfer.
#include "gui/gui_settings.h"
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/player_pane.h"
#include "gui/main_window/preview_player.h"
#include "gui/main_window/transfer_commands.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/pane_list_view.h"
#include "media/writers/id3v2_writer.h"
#include "platform/shell_file_operation.h"
#include "program_fixture.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <filesystem>

namespace tralvo {
namespace {

// Copies and deletes as told, without asking; notes whether the window was enabled then.
struct CopyingShell : ShellFileOperation {
    void Copy(const std::vector<std::string>& sources,
              const std::vector<std::string>& targets) override {
        windowEnabled = window->isEnabled();
        for (std::size_t i = 0; i < sources.size(); ++i) {
            std::filesystem::copy_file(sources[i], targets[i]);
            copied.push_back(targets[i]);
        }
    }
    void Delete(const std::vector<std::string>& paths) override {
        windowEnabled = window->isEnabled();
        for (const std::string& path : paths) {
            std::filesystem::remove(path);
            deleted.push_back(path);
        }
    }
    QWidget* window = nullptr;
    bool windowEnabled = true;
    std::vector<std::string> copied;
    std::vector<std::string> deleted;
};

class TransferCommandsTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        music = folder.MakeFolder("music");
        player = folder.MakeFolder("player");
        folder.WriteFile("music/new.mp3", test::AsString(test::Mp3File({})));
        folder.WriteFile("player/old.mp3", test::AsString(test::Mp3File({})));
        settings.PlayerType = PlayerType::FileNames;
        auto* layout = new QHBoxLayout(&window);
        computer = new ComputerPane(settings, SystemFileSystem(), [this] { return player; });
        pane = new PlayerPane(
            gui, [this] { return player; }, messages, SystemFileSystem());
        layout->addWidget(computer);
        layout->addWidget(pane);
        preview = new PreviewPlayer(&window);
        transfers =
            new TransferCommands(window, *computer, *pane, *preview, messages, SystemFileSystem());
        shell.window = &window;
        transfers->SetShellFileOperation(&shell);
        computer->ShowFolder(music);
        pane->SetRootDir(player);
        pane->ShowFolder(player);
        files = window.findChild<PaneListView*>(QStringLiteral("FilesLB"));
        tracks = window.findChild<PaneListView*>(QStringLiteral("TracksLB"));
        ASSERT_NE(files, nullptr);
        ASSERT_NE(tracks, nullptr);
        ASSERT_EQ(pane->Tracks().size(), 1u);
    }
    void TearDown() override {
        transfers->SetShellFileOperation(nullptr);
        ProgramFolderFixture::TearDown();
    }

    std::string music;
    std::string player;
    UserSettings settings;
    GuiSettings gui{settings};
    QWidget window;
    ComputerPane* computer = nullptr;
    PlayerPane* pane = nullptr;
    PreviewPlayer* preview = nullptr;
    TransferCommands* transfers = nullptr;
    PaneListView* files = nullptr;
    PaneListView* tracks = nullptr;
    CopyingShell shell;
};

TEST_F(TransferCommandsTest, FilesDroppedOnTheTrackListAreUploadedAndMarkTheList) {
    files->selectAll();
    ASSERT_TRUE(tracks->onDragOver(files, 0));
    tracks->onDrop(files);
    EXPECT_EQ(shell.copied, std::vector<std::string>{player + "/new.mp3"});
    EXPECT_FALSE(shell.windowEnabled);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(pane->Tracks().size(), 2u);
    EXPECT_TRUE(pane->Changed());
}

TEST_F(TransferCommandsTest, TracksDroppedOnTheFileListAreDownloadedAndTheMarkStays) {
    tracks->selectAll();
    ASSERT_TRUE(files->onDragOver(tracks, 0));
    files->onDrop(tracks);
    EXPECT_EQ(shell.copied, std::vector<std::string>{music + "/old.mp3"});
    EXPECT_EQ(computer->Files().Names(), (std::vector<std::string>{"new.mp3", "old.mp3"}));
    EXPECT_FALSE(pane->Changed());
}

TEST_F(TransferCommandsTest, NothingSelectedTransfersNothing) {
    tracks->onDrop(files);
    files->onDrop(tracks);
    EXPECT_TRUE(shell.copied.empty());
    EXPECT_FALSE(pane->Changed());
}

TEST_F(TransferCommandsTest, EachListDeletesItsOwnSelection) {
    tracks->selectAll();
    QKeyEvent remove(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(tracks, &remove);
    EXPECT_EQ(shell.deleted, std::vector<std::string>{player + "/old.mp3"});
    EXPECT_TRUE(pane->Tracks().empty());
    EXPECT_EQ(computer->Files().Names(), std::vector<std::string>{"new.mp3"});
    EXPECT_FALSE(shell.windowEnabled);
}

} // namespace
} // namespace tralvo
