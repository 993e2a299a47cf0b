// The player pane's track list and the Tralvo command, through the real main window.
#include "app/main_form.h"
#include "media/writers/id3v2_writer.h"
#include "gui/panes/shell_tree.h"
#include "gui/panes/track_list_model.h"
#include "program_fixture.h"

#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <thread>

namespace tralvo {
namespace {

std::string Song(const std::string& title, const std::string& artist = "Artist") {
    test::Id3v1Fields fields;
    fields.title = title;
    fields.artist = artist;
    fields.album = "Album";
    return test::AsString(test::Mp3File({}, 1, fields));
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
        main->MyPlayerST->SetPath(player + "/Album");
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
    EXPECT_FALSE(main->TracksChanged);
    EXPECT_FALSE(main->TralvoBtn->isEnabled());

    main->ReverseSortBtnClick();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_TRUE(main->TracksChanged);
    EXPECT_TRUE(main->TralvoBtn->isEnabled());
}

TEST_F(TrackListTest, AnotherFolderAsksFirstAndNoPutsTheTreeBack) {
    StartWith("Type=1\n");
    main->ShuffleBtnClick();
    const std::vector<std::string> shuffled = Shown();
    messages.answers = {MessageAnswer::No};
    main->MyPlayerST->SetPath(player + "/Other");
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"ChangeDirAlthoughChanged"});
    EXPECT_EQ(main->MyPlayerST->Path(), player + "/Album");
    EXPECT_EQ(Shown(), shuffled);
    EXPECT_TRUE(main->TracksChanged);

    main->MyPlayerST->SetPath(player + "/Other"); // Yes this time
    EXPECT_EQ(Shown(), std::vector<std::string>{"Zulu.mp3"});
    EXPECT_FALSE(main->TracksChanged);
    EXPECT_EQ(messages.asked.size(), 2u);
}

TEST_F(TrackListTest, RefreshingAnArrangedListAsksAndNoKeepsIt) {
    StartWith("Type=1\n");
    main->ReverseSortBtnClick();
    folder.WriteFile("player/Album/Delta.mp3", Song("Delta"));
    messages.answers = {MessageAnswer::No};
    main->MyPlayerRefreshBtnClick();
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"RefreshAlthoughChanged"});
    main->MyPlayerRefreshBtnClick();
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_FALSE(main->TracksChanged);
}

TEST_F(TrackListTest, TheTralvoButtonWritesTheOrderAndReloads) {
    folder.WriteFile("player/Album/{9}Echo.mp3", Song("Echo"));
    StartWith("Type=1\n");
    EXPECT_EQ(main->TrackPath(3), player + "/Album/{9}Echo.mp3");
    main->ReverseSortBtnClick(); // by title, descending
    main->TralvoBtn->click();
    EXPECT_TRUE(messages.asked.empty()) << messages.asked[0].textKey;
    EXPECT_EQ(NamesOnDisk(), (std::vector<std::string>{"{1}Echo.mp3", "{2}Charlie.mp3",
                                                       "{3}Bravo.mp3", "{4}Alpha.mp3"}));
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"Echo.mp3", "Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_FALSE(main->TracksChanged);
    EXPECT_FALSE(main->TralvoBtn->isEnabled());
    EXPECT_FALSE(main->TralvoBtn->isHidden());
    EXPECT_TRUE(main->ExitBtn->isEnabled());
    EXPECT_TRUE(main->ProgressPB->isHidden());
    EXPECT_EQ(main->ProgressPB->maximum(), 8);
}

TEST_F(TrackListTest, AFailedRunReportsEachFailureThenTheWrongOrder) {
    StartWith("Type=1\n");
    main->ReverseSortBtnClick(); // Charlie, Bravo, Alpha
    // Bravo cannot take its temporary name and keeps its own, which sorts before the others.
    folder.WriteFile("player/Album/1.qz_temp", "left by an earlier run");
    main->TralvoBtnClick();
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
    main->ReverseSortBtnClick();
    const std::vector<std::string> arranged = Shown();
    std::this_thread::sleep_for(std::chrono::milliseconds(30)); // born before the run's step
    messages.answers = {MessageAnswer::No};
    main->TralvoBtnClick();
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"RecreateTracks"});
    EXPECT_EQ(messages.asked[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(messages.asked[0].text.find("tracks this takes up to 1 min."), std::string::npos)
        << messages.asked[0].text;
    EXPECT_TRUE(main->TracksChanged);
    EXPECT_EQ(Shown(), arranged);

    main->TralvoBtnClick(); // Yes
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"RecreateTracks", "RecreateTracks"}));
    EXPECT_EQ(Shown(), arranged);
    EXPECT_FALSE(main->TracksChanged);
    EXPECT_EQ(main->ProgressPB->maximum(), 3);
}

TEST_F(TrackListTest, NothingToWriteDoesNothing) {
    StartWith("Type=1\n");
    const std::vector<std::string> before = NamesOnDisk();
    main->TralvoBtnClick();
    EXPECT_EQ(NamesOnDisk(), before);
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(TrackListTest, AnotherPlayerTypeInTheSettingsReloadsWithoutAsking) {
    folder.WriteFile("player/Album/{1}Zed.mp3", Song("Zed"));
    StartWith("Type=0\n");
    main->ShuffleBtnClick();
    ASSERT_TRUE(main->TracksChanged);
    test::OnNextModalDialog([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("SortingByFilenameRB")->click();
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    EXPECT_TRUE(main->RunSettingsDialog());
    EXPECT_EQ(Settings.PlayerType, PlayerType::FileNames);
    EXPECT_FALSE(main->TracksChanged);
    const std::vector<std::string> shown = Shown();
    EXPECT_EQ(shown.front(), "Alpha.mp3");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Zed.mp3"), shown.end());
    EXPECT_TRUE(messages.asked.empty());
}

} // namespace
} // namespace tralvo
