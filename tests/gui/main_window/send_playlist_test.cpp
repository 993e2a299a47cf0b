// A playlist in the file list, uploaded through the real main window: the files it names go to
// the player folder with the desktop copy's questions, and the list takes its order.
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/player_pane.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/pane_list_view.h"
#include "playback/fixtures.h"
#include "program_fixture.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

namespace tralvo {
namespace {

using Names = std::vector<std::string>;

class SendPlaylistTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        music = folder.MakeFolder("music");
        tone = test::ReadFile(test::Fixture("tone.mp3"));
        for (const char* name : {"b.mp3", "c.mp3", "z.mp3"}) {
            folder.WriteFile(std::string("music/") + name, tone);
        }
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
        folder.WriteFile("player/Album/{1}Tone.mp3", tone);
        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\nType=1\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
    }

    // Shows the music folder with the playlist of that name and text, and selects the playlist.
    void SelectPlaylist(const std::string& name, const std::string& text) {
        folder.WriteFile("music/" + name, text);
        Computer().ShowFolder(music);
        PlayerTree()->SetPath(player + "/Album");
        const Names& names = Computer().Files().Names();
        const auto row = std::find(names.begin(), names.end(), name) - names.begin();
        ASSERT_LT(static_cast<std::size_t>(row), names.size()) << "the file list shows " << name;
        FileList().setFocus();
        FileList().selectionModel()->select(FileList().model()->index(static_cast<int>(row), 0),
                                            QItemSelectionModel::ClearAndSelect);
    }

    std::string music;
    std::string player;
    std::string tone;
};

TEST_F(SendPlaylistTest, TheUploadButtonSendsWhatItNamesInItsOrderAndSaysWhatIsMissing) {
    ASSERT_NO_FATAL_FAILURE(SelectPlaylist("list.m3u8", "#EXTM3U\nz.mp3\ngone.mp3\nb.mp3\n"));
    // A playlist is sent, not played.
    EXPECT_EQ(Computer().FileToPlay(), std::nullopt);
    Click("UploadBtn");

    EXPECT_EQ(Shown(), (Names{"z.mp3", "b.mp3", "Tone.mp3"}));
    EXPECT_TRUE(std::filesystem::exists(player + "/Album/z.mp3"));
    EXPECT_FALSE(std::filesystem::exists(player + "/Album/c.mp3"));
    EXPECT_FALSE(std::filesystem::exists(player + "/Album/list.m3u8"));
    EXPECT_TRUE(Pane().Changed());
    EXPECT_TRUE(Button("TralvoBtn")->isEnabled());
    EXPECT_TRUE(main->isEnabled());
    ASSERT_EQ(messages.TextKeys(), Names{"SendPlaylistMissing"});
    EXPECT_EQ(messages.asked[0].argument, "gone.mp3");
}

TEST_F(SendPlaylistTest, TheRightArrowSendsItAskingBeforeAnotherFileIsReplaced) {
    folder.WriteFile("player/Album/b.mp3", "another b");
    folder.WriteFile("player/Album/z.mp3", tone); // the same bytes: no question for it
    ASSERT_NO_FATAL_FAILURE(SelectPlaylist("list.pls", "[playlist]\nFile1=b.mp3\nFile2=z.mp3\n"));
    int asked = 0;
    test::OnNextModalDialog([&asked](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr);
        ++asked;
        box->button(QMessageBox::No)->click();
    });
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&FileList(), &right);

    EXPECT_EQ(asked, 1);
    EXPECT_EQ(test::ReadFile(player + "/Album/b.mp3"), "another b");
    EXPECT_EQ(Shown(), (Names{"b.mp3", "z.mp3", "Tone.mp3"}));
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(SendPlaylistTest, APlaylistThatCannotBeReadSaysSoAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(SelectPlaylist("empty.m3u", "#EXTM3U\n"));
    Click("UploadBtn");
    EXPECT_EQ(messages.TextKeys(), Names{"PlaylistNoTracks"});
    EXPECT_EQ(Shown(), Names{"Tone.mp3"});
    EXPECT_FALSE(Pane().Changed());
}

TEST_F(SendPlaylistTest, APlaylistAmongOtherSelectedFilesIsNotUploaded) {
    ASSERT_NO_FATAL_FAILURE(SelectPlaylist("list.m3u", "c.mp3\n"));
    FileList().selectAll();
    Click("UploadBtn");
    EXPECT_EQ(Shown(), (Names{"Tone.mp3", "b.mp3", "c.mp3", "z.mp3"}));
    EXPECT_FALSE(std::filesystem::exists(player + "/Album/list.m3u"));
}

} // namespace
} // namespace tralvo
