// The player pane's track list and the Tralvo command, through the real main window.
#include "gui/main_window/main_window.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "media/writers/id3v2_writer.h"
#include "program_fixture.h"

#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <thread>

namespace tralvo {
namespace {

std::string Song(const std::string& title, const std::string& artist = "Artist") {
    return test::TaggedSong(title, artist, "Album");
}

class TrackListTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
        folder.MakeFolder("player/Other");
        for (const char* title : {"Charlie", "Alpha", "Bravo"}) {
            folder.WriteFile(std::string("player/Album/") + title + ".mp3", Song(title));
        }
        folder.WriteFile("player/Other/Zulu.mp3", Song("Zulu"));
    }
    void StartWith(const std::string& settings) {
        folder.WriteFile("Tralvo.ini",
                         "[Player]\nDrive=" + player + "\n" + settings + "[Sort]\n1=1\n2=1\n3=1\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
        PlayerTree()->SetPath(player + "/Album");
    }
    std::vector<std::string> NamesOnDisk() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(player + "/Album")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string player;
};

TEST_F(TrackListTest, ALoadedListIsUnchangedAndSortingChangesIt) {
    StartWith("Type=1\n");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"}));
    EXPECT_FALSE(Pane().Changed());
    EXPECT_FALSE(Button("TralvoBtn")->isEnabled());

    Click("ReverseSortBtn");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_TRUE(Pane().Changed());
    EXPECT_TRUE(Button("TralvoBtn")->isEnabled());
}

TEST_F(TrackListTest, AnotherFolderAsksFirstAndNoPutsTheTreeBack) {
    StartWith("Type=1\n");
    Click("ShuffleBtn");
    const std::vector<std::string> shuffled = Shown();
    messages.answers = {MessageAnswer::No};
    PlayerTree()->SetPath(player + "/Other");
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"ChangeDirAlthoughChanged"});
    EXPECT_EQ(PlayerTree()->Path(), player + "/Album");
    EXPECT_EQ(Shown(), shuffled);
    EXPECT_TRUE(Pane().Changed());

    PlayerTree()->SetPath(player + "/Other"); // Yes this time
    EXPECT_EQ(Shown(), std::vector<std::string>{"Zulu.mp3"});
    EXPECT_FALSE(Pane().Changed());
    EXPECT_EQ(messages.asked.size(), 2u);
}

TEST_F(TrackListTest, RefreshingAnArrangedListAsksAndNoKeepsIt) {
    StartWith("Type=1\n");
    Click("ReverseSortBtn");
    folder.WriteFile("player/Album/Delta.mp3", Song("Delta"));
    messages.answers = {MessageAnswer::No};
    Click("MyPlayerRefreshBtn");
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"RefreshAlthoughChanged"});
    Click("MyPlayerRefreshBtn");
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_FALSE(Pane().Changed());
}

TEST_F(TrackListTest, TheTralvoButtonWritesTheOrderAndReloads) {
    folder.WriteFile("player/Album/{9}Echo.mp3", Song("Echo"));
    StartWith("Type=1\n");
    EXPECT_EQ(Pane().TrackPath(3), player + "/Album/{9}Echo.mp3");
    Click("ReverseSortBtn"); // by title, descending
    Button("TralvoBtn")->click();
    EXPECT_TRUE(messages.asked.empty()) << messages.asked[0].textKey;
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::string>{"{1}Echo.mp3", "{2}Charlie.mp3",
                                                       "{3}Bravo.mp3", "{4}Alpha.mp3"}));
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"Echo.mp3", "Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_FALSE(Pane().Changed());
    EXPECT_FALSE(Button("TralvoBtn")->isEnabled());
    EXPECT_FALSE(Button("TralvoBtn")->isHidden());
    EXPECT_TRUE(Button("ExitBtn")->isEnabled());
    EXPECT_TRUE(Control<QProgressBar>("ProgressPB").isHidden());
    EXPECT_EQ(Control<QProgressBar>("ProgressPB").maximum(), 8);
}

TEST_F(TrackListTest, AFailedRunReportsEachFailureThenTheWrongOrder) {
    StartWith("Type=1\n");
    Click("ReverseSortBtn"); // Charlie, Bravo, Alpha
    // Bravo cannot take its temporary name and keeps its own, which sorts before the others.
    folder.WriteFile("player/Album/1.qz_temp", "left by an earlier run");
    Click("TralvoBtn");
    EXPECT_EQ(messages.TextKeys(),
              (std::vector<std::string>{"RenameError", "RenameError", "TralvoFailed"}));
    EXPECT_EQ(messages.asked.back().captionKey, "Error");
    EXPECT_EQ(messages.asked.back().parent, "MainForm");
    EXPECT_EQ(test::ReadFile(player + "/Album/1.qz_temp"), "left by an earlier run");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Bravo.mp3", "Charlie.mp3", "Alpha.mp3"}));
}

// Creation times cannot be set here: the tracks are made anew, about two seconds apart on a
// player, so the user is told how long it takes first, and No leaves everything as it was.
TEST_F(TrackListTest, CreationTimesAskBeforeTheTracksAreMadeAnew) {
    StartWith("Type=2\n");
    Click("ReverseSortBtn");
    const std::vector<std::string> arranged = Shown();
    std::this_thread::sleep_for(std::chrono::milliseconds(30)); // born before the run's step
    messages.answers = {MessageAnswer::No};
    Click("TralvoBtn");
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"RecreateTracks"});
    EXPECT_EQ(messages.asked[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.asked[0].text.find("tracks this takes up to 1 min."), std::string::npos)
        << messages.asked[0].text;
    EXPECT_TRUE(Pane().Changed());
    EXPECT_EQ(Shown(), arranged);

    Click("TralvoBtn"); // Yes
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"RecreateTracks", "RecreateTracks"}));
    EXPECT_EQ(Shown(), arranged);
    EXPECT_FALSE(Pane().Changed());
    EXPECT_EQ(Control<QProgressBar>("ProgressPB").maximum(), 3);
}

TEST_F(TrackListTest, NothingToWriteDoesNothing) {
    StartWith("Type=1\n");
    const std::vector<std::string> before = NamesOnDisk();
    Click("TralvoBtn");
    EXPECT_EQ(NamesOnDisk(), before);
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(TrackListTest, AnotherPlayerTypeInTheSettingsReloadsWithoutAsking) {
    folder.WriteFile("player/Album/{1}Zed.mp3", Song("Zed"));
    StartWith("Type=0\n");
    Click("ShuffleBtn");
    ASSERT_TRUE(Pane().Changed());
    test::OnNextModalDialog([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("SortingByFilenameRB")->click();
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    Click("SettingsBtn");
    EXPECT_EQ(Settings.PlayerType, PlayerType::FileNames);
    EXPECT_FALSE(Pane().Changed());
    const std::vector<std::string> shown = Shown();
    EXPECT_EQ(shown.front(), "Alpha.mp3");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Zed.mp3"), shown.end());
    EXPECT_TRUE(messages.asked.empty());
}

} // namespace
} // namespace tralvo
