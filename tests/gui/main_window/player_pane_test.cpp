// The player pane on its own, with settings of its own: what its keys, buttons and drags do
// to the list and its mark, and what they ask of the window.
#include "gui/gui_settings.h"
#include "gui/main_window/player_pane.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/pane_list_view.h"
#include "media/writers/id3v2_writer.h"
#include "program_fixture.h"
#include "support/apple_double_file.h"

#include <QKeyEvent>
#include <QToolButton>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace tralvo {
namespace {

std::string Song(const std::string& title) {
    return test::TaggedSong(title, "Artist", "Album");
}

class PlayerPaneTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
        folder.MakeFolder("player/Other");
        // Names and titles in opposite orders, so a sort by title shows it followed the keys.
        folder.WriteFile("player/Album/a.mp3", Song("Charlie"));
        folder.WriteFile("player/Album/b.mp3", Song("Bravo"));
        folder.WriteFile("player/Album/c.mp3", Song("Alpha"));
        folder.WriteFile("player/Other/z.mp3", Song("Zulu"));
        settings.PlayerType = PlayerType::FileNames;
        settings.SortKey1 = media::SortKey::Title; // title
        pane = std::make_unique<PlayerPane>(
            gui, [this] { return root; }, messages, SystemFileSystem());
        root = player;
        pane->SetRootDir(player);
        pane->ShowFolder(player + "/Album");
        list = pane->findChild<PaneListView*>(QStringLiteral("TracksLB"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(Order(), "abc");
        ASSERT_FALSE(pane->Changed());

        QObject::connect(pane.get(), &PlayerPane::DownloadRequested,
                         [this] { asked += "download "; });
        QObject::connect(pane.get(), &PlayerPane::UploadRequested, [this] { asked += "upload "; });
        QObject::connect(pane.get(), &PlayerPane::DeleteRequested, [this] { asked += "delete "; });
        QObject::connect(pane.get(), &PlayerPane::UndoRequested, [this] { asked += "undo "; });
        QObject::connect(pane.get(), &PlayerPane::FolderNote,
                         [this](const QString& note) { notes.push_back(note.toStdString()); });
        QObject::connect(pane.get(), &PlayerPane::ChangedMarked,
                         [this](bool changed) { marks.push_back(changed); });
        QObject::connect(pane.get(), &PlayerPane::PropertiesRequested,
                         [this](const media::SoundFile* file) {
                             asked += "properties:" + (file ? file->FileName() : "none") + " ";
                         });
    }
    void TearDown() override {
        pane.reset();
        ProgramFolderFixture::TearDown();
    }
    std::string Order() const {
        std::string order;
        for (const TrackEntry& entry : pane->Tracks()) {
            order += entry.display.front();
        }
        return order;
    }
    void Select(std::initializer_list<int> rows) {
        list->selectionModel()->clear();
        for (const int row : rows) {
            list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                    QItemSelectionModel::Select);
        }
    }
    void Type(int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(list, &event);
    }
    void Click(const char* button) {
        auto* found = pane->findChild<QToolButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        found->click();
    }

    std::string player;
    std::string root;
    UserSettings settings;
    GuiSettings gui{settings};
    std::unique_ptr<PlayerPane> pane;
    PaneListView* list = nullptr;
    std::string asked;
    std::vector<bool> marks;
    std::vector<std::string> notes;
};

TEST_F(PlayerPaneTest, TheCleanButtonAsksRemovesTheJunkAndTheNoteGoes) {
    folder.WriteFile("player/Other/.DS_Store", "x");
    folder.WriteFile("player/Other/._z.mp3", test::AppleDoubleContent());
    pane->ShowFolder(player + "/Other");
    ASSERT_EQ(pane->Tracks().size(), 1U); // the companion is no track
    ASSERT_EQ(notes.size(), 1U);
    EXPECT_NE(notes.back(), "");
    messages.answers = {MessageAnswer::No};
    Click("MyPlayerCleanBtn");
    EXPECT_TRUE(std::filesystem::exists(player + "/Other/.DS_Store"));
    Click("MyPlayerCleanBtn"); // Yes
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"CleanFolder", "CleanFolder"}));
    EXPECT_FALSE(std::filesystem::exists(player + "/Other/.DS_Store"));
    EXPECT_FALSE(std::filesystem::exists(player + "/Other/._z.mp3"));
    EXPECT_EQ(notes.back(), "");
    EXPECT_EQ(pane->Tracks().size(), 1U);
}

TEST_F(PlayerPaneTest, CleaningKeepsAnArrangedListAndItsMark) {
    folder.WriteFile("player/Album/Thumbs.db", "x");
    Click("SortBtn");
    ASSERT_EQ(Order(), "cba");
    Click("MyPlayerCleanBtn"); // Yes
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"CleanFolder"});
    EXPECT_FALSE(std::filesystem::exists(player + "/Album/Thumbs.db"));
    EXPECT_EQ(Order(), "cba");
    EXPECT_TRUE(pane->Changed());
}

TEST_F(PlayerPaneTest, TheSortButtonsFollowTheNaturalOrderSetting) {
    folder.MakeFolder("player/Parts");
    folder.WriteFile("player/Parts/x.mp3", Song("Part 10"));
    folder.WriteFile("player/Parts/y.mp3", Song("Part 9"));
    pane->ShowFolder(player + "/Parts");
    ASSERT_EQ(Order(), "xy");
    Click("SortBtn");
    EXPECT_EQ(Order(), "xy"); // "part 10" before "part 9", byte by byte
    settings.NaturalSort = true;
    Click("SortBtn");
    EXPECT_EQ(Order(), "yx");
    Click("ReverseSortBtn");
    EXPECT_EQ(Order(), "xy");
}

TEST_F(PlayerPaneTest, MovingATrackByKeysMarksTheListAndSignalsIt) {
    Select({0});
    Type(Qt::Key_Plus, Qt::NoModifier, "+");
    EXPECT_EQ(Order(), "bac");
    EXPECT_TRUE(pane->Changed());
    EXPECT_EQ(marks, std::vector<bool>{true});
    EXPECT_EQ(list->currentIndex().row(), 1);
}

TEST_F(PlayerPaneTest, AMoveThatCannotBeMadeLeavesTheMarkAlone) {
    Select({0});
    Type(Qt::Key_Minus, Qt::NoModifier, "-");
    Select({1, 2});
    Click("UpBtn");
    EXPECT_EQ(Order(), "abc");
    EXPECT_TRUE(marks.empty());
    EXPECT_FALSE(pane->Changed());
}

TEST_F(PlayerPaneTest, SortingFollowsTheInjectedKeysAndReloadingClearsTheMark) {
    Click("SortBtn");
    EXPECT_EQ(Order(), "cba"); // by title: Alpha, Bravo, Charlie
    EXPECT_TRUE(pane->Changed());
    Click("ReverseSortBtn");
    EXPECT_EQ(Order(), "abc");
    Click("MyPlayerRefreshBtn"); // the script answers Yes
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"RefreshAlthoughChanged"});
    EXPECT_FALSE(pane->Changed());
}

TEST_F(PlayerPaneTest, KeysAndButtonsAskTheWindowForItsCommands) {
    Select({1});
    Type(Qt::Key_Left, Qt::NoModifier);
    Type(Qt::Key_Left, Qt::ShiftModifier);
    Type(Qt::Key_Delete, Qt::NoModifier);
    Type(Qt::Key_Z, Qt::ControlModifier);
    Type(Qt::Key_Return, Qt::AltModifier);
    Click("DownloadBtn");
    Click("MyPlayerDeleteBtn");
    EXPECT_EQ(asked, "download delete undo properties:" + player + "/Album/b.mp3 download delete ");
    // Only a drop from the list the window named is an upload.
    QObject files;
    pane->AcceptDropsFrom(&files);
    asked.clear();
    EXPECT_FALSE(list->onDragOver(nullptr, 0));
    list->onDrop(nullptr);
    EXPECT_TRUE(list->onDragOver(&files, 0));
    list->onDrop(&files);
    EXPECT_EQ(asked, "upload ");
}

TEST_F(PlayerPaneTest, AnotherFolderAsksOnlyWhileTheListIsArranged) {
    Click("ShuffleBtn");
    ASSERT_TRUE(pane->Changed());
    messages.answers = {MessageAnswer::No};
    pane->ShowFolder(player + "/Other");
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"ChangeDirAlthoughChanged"});
    EXPECT_EQ(messages.asked[0].parent, "MainForm");
    EXPECT_EQ(pane->Folder(), player + "/Album");
    EXPECT_TRUE(pane->Changed());

    pane->ShowFolder(player + "/Other"); // Yes this time
    EXPECT_EQ(messages.asked.size(), 2u);
    EXPECT_EQ(Order(), "z");
    EXPECT_FALSE(pane->Changed());
}

TEST_F(PlayerPaneTest, AnotherOrderInTheSettingsReloadsTheListWithoutAsking) {
    folder.WriteFile("player/Album/{1}d.mp3", Song("Delta"));
    Click("ShuffleBtn");
    UserSettings edited = settings;
    edited.PlayerType = PlayerType::DirectoryOrder;
    gui.Apply(edited);
    EXPECT_EQ(pane->Order().type, PlayerType::DirectoryOrder);
    EXPECT_EQ(pane->Tracks().size(), 4u);
    EXPECT_EQ(pane->TrackPath(3).substr(player.size()), "/Album/" + pane->Tracks()[3].display);
    EXPECT_FALSE(pane->Changed());
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(PlayerPaneTest, AnotherPlayerInTheSettingsReplacesAnArrangedListWithoutAsking) {
    int rootChanges = 0;
    QObject::connect(pane.get(), &PlayerPane::PlayerRootChanged, [&] { ++rootChanges; });
    gui.Apply(settings); // the same player and order: nothing to follow
    EXPECT_EQ(rootChanges, 0);
    EXPECT_EQ(pane->Folder(), player + "/Album");

    Click("ShuffleBtn");
    root = player + "/Other";
    gui.Apply(settings);
    EXPECT_EQ(rootChanges, 1);
    EXPECT_EQ(pane->RootDir(), player + "/Other");
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_FALSE(pane->Changed());
    // The new root's folder is shown, the arranged list of the old one is gone.
    EXPECT_NE(Order(), "abc");
}

TEST_F(PlayerPaneTest, ATrackPathFollowsTheOrderTheListWasReadUnder) {
    folder.WriteFile("player/Album/{9}d.mp3", Song("Delta"));
    Click("MyPlayerRefreshBtn");
    EXPECT_EQ(pane->TrackPath(3), player + "/Album/{9}d.mp3");
    EXPECT_EQ(pane->Tracks()[3].display, "d.mp3");
    // Settings changed without being applied leave the shown list as it was read.
    settings.PlayerType = PlayerType::DirectoryOrder;
    EXPECT_EQ(pane->Order().type, PlayerType::FileNames);
    EXPECT_EQ(pane->TrackPath(3), player + "/Album/{9}d.mp3");
    EXPECT_EQ(pane->TrackPath(-1), "");
    EXPECT_EQ(pane->TrackPath(4), "");
}

// The Playlist button puts the list in a playlist's order as a sort does, and says in one box
// which entries it could not find; a playlist it cannot use changes nothing.
TEST_F(PlayerPaneTest, APlaylistOrdersTheListAndNamesWhatIsNotOnThePlayer) {
    std::optional<std::string> chosen;
    pane->SetPlaylistChooser([&] { return chosen; });
    Click("PlaylistBtn"); // cancelled
    EXPECT_FALSE(pane->Changed());

    for (const auto& [name, content, key] : std::vector<std::array<std::string, 3>>{
             {"empty.m3u", "#EXTM3U\r\n", "PlaylistNoTracks"},
             {"broken.xspf", "<playlist><track>", "PlaylistMalformed"},
             {"missing.pls", "", "PlaylistUnreadable"}}) {
        chosen = name == "missing.pls" ? folder / name : folder.WriteFile(name, content);
        messages.asked.clear();
        Click("PlaylistBtn");
        EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{key}) << name;
        EXPECT_EQ(messages.asked.at(0).argument, *chosen);
        EXPECT_EQ(Order(), "abc");
        EXPECT_FALSE(pane->Changed());
    }

    chosen =
        folder.WriteFile("player/list.m3u8", "c.mp3\nnot here.mp3\n../Album/a.mp3\ngone.ogg\n");
    messages.asked.clear();
    Click("PlaylistBtn");
    EXPECT_EQ(Order(), "cab");
    EXPECT_TRUE(pane->Changed());
    EXPECT_EQ(marks, std::vector<bool>{true});
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"PlaylistNotOnPlayer"});
    EXPECT_EQ(messages.asked[0].argument, "not here.mp3\ngone.ogg");
}

// The paths of an M3U8 file, in order.
std::vector<std::string> PlaylistLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(test::ReadFile(path));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.front() != '#') {
            lines.push_back(line);
        }
    }
    return lines;
}

// The export button saves the shown order, by default beside the tracks under the folder's
// name; a file that cannot be written says why, and one replaced is replaced whole.
TEST_F(PlayerPaneTest, TheExportButtonSavesTheShownOrderAsAnM3u8Playlist) {
    std::string suggested;
    std::optional<std::string> chosen;
    pane->SetExportChooser([&](const std::string& start) {
        suggested = start;
        return chosen;
    });
    Click("ExportPlaylistBtn"); // cancelled
    EXPECT_EQ(suggested, player + "/Album/Album.m3u8");
    EXPECT_FALSE(std::filesystem::exists(suggested));

    pane->SetPlaylistChooser([&] { return folder.WriteFile("order.m3u", "c.mp3\na.mp3\n"); });
    Click("PlaylistBtn");
    ASSERT_EQ(Order(), "cab");
    chosen = suggested;
    Click("ExportPlaylistBtn");
    EXPECT_EQ(PlaylistLines(suggested), (std::vector<std::string>{"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(test::ReadFile(suggested).rfind("#EXTM3U\n", 0), 0u);
    EXPECT_TRUE(pane->Changed()); // saving a playlist writes no order to the player

    chosen = folder.WriteFile("elsewhere.m3u8", "an older playlist");
    Click("ExportPlaylistBtn");
    EXPECT_EQ(PlaylistLines(*chosen),
              (std::vector<std::string>{player + "/Album/c.mp3", player + "/Album/a.mp3",
                                        player + "/Album/b.mp3"}));
    EXPECT_TRUE(messages.asked.empty());

    chosen = folder / "gone/list.m3u8";
    Click("ExportPlaylistBtn");
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"ExportPlaylistError"});
    EXPECT_EQ(messages.asked[0].argument, *chosen);
    EXPECT_EQ(messages.asked[0].reason, std::generic_category().message(ENOENT));
    EXPECT_EQ(messages.asked[0].icon, MessageIcon::Error);
}

} // namespace
} // namespace tralvo
