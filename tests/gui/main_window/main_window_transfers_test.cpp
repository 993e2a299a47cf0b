// Upload and delete through the real main window.
#include "gui/main_window/main_window.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "platform/shell_file_operation.h"
#include "playback/audio_engine.h"
#include "playback/fixtures.h"
#include "program_fixture.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

namespace tralvo {
namespace {

// Deletes without asking, and notes whether the preview player was still playing then.
class DeletingShell : public ShellFileOperation {
public:
    void Copy(const std::vector<std::string>&, const std::vector<std::string>&) override {}
    void Delete(const std::vector<std::string>& paths) override {
        playingAtDelete =
            stream != 0 && playback::Engine().ChannelGetLength(stream) != playback::InvalidBytes;
        for (const std::string& path : paths) {
            std::filesystem::remove(path);
        }
        deleted.push_back(paths);
    }
    playback::StreamHandle stream = 0;
    bool playingAtDelete = true;
    std::vector<std::vector<std::string>> deleted;
};

class MainWindowTransfersTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        music = folder.MakeFolder("music");
        for (const char* name : {"c.mp3", "b.mp3", "z.mp3"}) {
            folder.WriteFile(std::string("music/") + name,
                             test::ReadFile(test::Fixture("tone.mp3")));
        }
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
        folder.WriteFile("player/Album/{1}Tone.mp3", test::ReadFile(test::Fixture("tone.mp3")));
        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\nType=1\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
        Computer().ShowFolder(music);
        PlayerTree()->SetPath(player + "/Album");
        ASSERT_EQ(Computer().Files().Names(),
                  (std::vector<std::string>{"b.mp3", "c.mp3", "z.mp3"}));
        ASSERT_EQ(Shown(), std::vector<std::string>{"Tone.mp3"});
    }
    static void Select(QListView& list, std::initializer_list<int> rows) {
        for (const int row : rows) {
            list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
        }
    }

    std::string music;
    std::string player;
};

TEST_F(MainWindowTransfersTest, UploadAppendsTheFilesInListOrderAndMarksTheListChanged) {
    Select(FileList(), {2, 0}); // z.mp3 and b.mp3
    Control<QToolButton>("UploadBtn").click();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Tone.mp3", "b.mp3", "z.mp3"}));
    EXPECT_TRUE(std::filesystem::exists(player + "/Album/z.mp3"));
    EXPECT_TRUE(Pane().Changed());
    EXPECT_TRUE(Button("TralvoBtn")->isEnabled());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(MainWindowTransfersTest, EachDeleteButtonDeletesFromItsOwnListAndStopsThePlayingTrack) {
    DeletingShell shell;
    main->SetShellFileOperation(&shell);
    Select(FileList(), {1});
    Select(*TracksLB(), {0});

    Control<QToolButton>("MyComputerDeleteBtn").click();
    EXPECT_EQ(Computer().Files().Names(), (std::vector<std::string>{"b.mp3", "z.mp3"}));
    EXPECT_EQ(Shown(), std::vector<std::string>{"Tone.mp3"});

    // The track in play.
    const std::string track = player + "/Album/{1}Tone.mp3";
    Player().Play(track);
    shell.stream = Player().Stream();
    ASSERT_NE(shell.stream, 0u);

    Click("MyPlayerDeleteBtn");
    EXPECT_EQ(shell.deleted.back(), std::vector<std::string>{track});
    EXPECT_FALSE(shell.playingAtDelete);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Computer().Files().Names().size(), 2u);
    EXPECT_FALSE(Pane().Changed());
}

} // namespace
} // namespace tralvo
