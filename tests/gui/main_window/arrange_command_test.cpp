// The Tralvo button and Ctrl+Z on their own, over a player pane and a file system that fails
// where a test says: the boxes the user sees, and the buttons around a run.
#include "gui/gui_settings.h"
#include "gui/main_window/arrange_command.h"
#include "gui/main_window/player_pane.h"
#include "gui/panes/pane_list_view.h"
#include "media/writers/id3v2_writer.h"
#include "platform/forwarding_file_system.h"
#include "program_fixture.h"

#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <cerrno>
#include <filesystem>

namespace tralvo {
namespace {

// Fails the renames whose source names failing; notes what the window showed at each rename.
struct FaultyFileSystem : ForwardingFileSystem {
    Status Rename(const std::string& from, const std::string& to) override {
        if (watch) {
            watch();
        }
        if (!failing.empty() && from.find(failing) != std::string::npos) {
            return Status::Failure(EIO, "Input/output error");
        }
        return ForwardingFileSystem::Rename(from, to);
    }
    std::string failing;
    std::function<void()> watch;
};

class ArrangeCommandTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        player = folder.MakeFolder("player");
        for (const char* title : {"Alpha", "Bravo", "Charlie"}) {
            folder.WriteFile(std::string("player/") + title + ".mp3", test::TaggedSong(title));
        }
        settings.PlayerType = PlayerType::FileNames;
        settings.SortKey1 = media::SortKey::Title; // title
        window.setWindowTitle(QStringLiteral("Tralvo!"));
        pane = new PlayerPane(
            gui, [this] { return player; }, messages, fs, &window);
        tralvo = new QPushButton(&window);
        exit = new QPushButton(&window);
        progress = new QProgressBar(&window);
        progress->hide();
        command = new ArrangeCommand(*pane, {tralvo, exit, progress}, messages, fs, &window);
        QObject::connect(command, &ArrangeCommand::JobStarting, [this] { ++jobs; });
        window.show();
        pane->SetRootDir(player);
        pane->ShowFolder(player);
        ASSERT_EQ(Shown(), (std::vector<std::string>{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"}));
    }
    void TearDown() override {
        window.hide();
        ProgramFolderFixture::TearDown();
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (const TrackEntry& entry : pane->Tracks()) {
            names.push_back(entry.display);
        }
        return names;
    }
    void ReverseSort() {
        auto* button = pane->findChild<QToolButton*>(QStringLiteral("ReverseSortBtn"));
        ASSERT_NE(button, nullptr);
        button->click();
        ASSERT_TRUE(pane->Changed());
    }
    void PressCtrlZ() {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
        QApplication::sendEvent(pane->List(), &event);
    }

    std::string player;
    UserSettings settings;
    GuiSettings gui{settings};
    FaultyFileSystem fs;
    QWidget window;
    PlayerPane* pane = nullptr;
    QPushButton* tralvo = nullptr;
    QPushButton* exit = nullptr;
    QProgressBar* progress = nullptr;
    ArrangeCommand* command = nullptr;
    int jobs = 0;
};

TEST_F(ArrangeCommandTest, TheButtonFollowsTheMarkAndDoesNothingForAnUnchangedList) {
    EXPECT_FALSE(tralvo->isEnabled());
    tralvo->click();
    EXPECT_EQ(jobs, 0);
    ASSERT_NO_FATAL_FAILURE(ReverseSort());
    EXPECT_TRUE(tralvo->isEnabled());
}

TEST_F(ArrangeCommandTest, TheProgressBarStandsInTheButtonsPlaceDuringTheRun) {
    ASSERT_NO_FATAL_FAILURE(ReverseSort());
    bool barShown = true;
    bool buttonsHidden = true;
    fs.watch = [&] {
        barShown = barShown && progress->isVisible();
        buttonsHidden = buttonsHidden && !tralvo->isVisible() && !exit->isVisible();
    };
    tralvo->click();
    fs.watch = nullptr;
    EXPECT_EQ(jobs, 1);
    EXPECT_TRUE(barShown);
    EXPECT_TRUE(buttonsHidden);
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_FALSE(pane->Changed());
    EXPECT_TRUE(progress->isHidden());
    EXPECT_TRUE(exit->isVisible() && exit->isEnabled());
    EXPECT_TRUE(tralvo->isVisible());
    EXPECT_FALSE(tralvo->isEnabled());
}

// A rename the disk refuses: each failure gets its box in the main window's name, the list is
// shown as read back, and then the user is told that the order is not the one made.
TEST_F(ArrangeCommandTest, ARefusedRenameShowsItsBoxesThenTheWrongOrder) {
    ASSERT_NO_FATAL_FAILURE(ReverseSort());
    fs.failing = "Bravo";
    tralvo->click();
    ASSERT_FALSE(messages.asked.empty());
    for (const auto& box : messages.asked) {
        EXPECT_EQ(box.parent, "MainForm") << box.textKey;
    }
    EXPECT_EQ(messages.asked.front().textKey, "RenameError");
    EXPECT_EQ(messages.asked.back().textKey, "TralvoFailed");
    EXPECT_EQ(messages.asked.back().captionKey, "Error");
    EXPECT_FALSE(pane->Changed());
    EXPECT_NE(Shown(), (std::vector<std::string>{"Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    EXPECT_TRUE(std::filesystem::exists(player + "/Bravo.mp3"));
}

TEST_F(ArrangeCommandTest, CtrlZAsksAboutAnArrangedListAndTellsWhenNothingIsToUndo) {
    ASSERT_NO_FATAL_FAILURE(ReverseSort());
    messages.answers = {MessageAnswer::No};
    PressCtrlZ();
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"RefreshAlthoughChanged"});
    EXPECT_EQ(messages.asked[0].caption, "Tralvo!");
    EXPECT_EQ(jobs, 0);
    EXPECT_TRUE(pane->Changed());

    PressCtrlZ(); // asked again, Yes: nothing was run in this folder yet
    EXPECT_EQ(messages.TextKeys(),
              (std::vector<std::string>{"RefreshAlthoughChanged", "RefreshAlthoughChanged",
                                        "NothingToUndo"}));
}

TEST_F(ArrangeCommandTest, CtrlZPutsTheFolderBackAsItWasBeforeTheRun) {
    ASSERT_NO_FATAL_FAILURE(ReverseSort());
    tralvo->click();
    ASSERT_EQ(Shown(), (std::vector<std::string>{"Charlie.mp3", "Bravo.mp3", "Alpha.mp3"}));
    PressCtrlZ();
    EXPECT_TRUE(messages.asked.empty()) << messages.asked[0].textKey;
    EXPECT_EQ(jobs, 2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"}));
    EXPECT_FALSE(pane->Changed());
}

} // namespace
} // namespace tralvo
