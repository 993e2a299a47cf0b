// An interrupted run found when a folder is loaded, and undoing the last run with Ctrl+Z,
// through the real main window.
#include "gui/main_window/main_window.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "media/writers/id3v2_writer.h"
#include "platform/forwarding_file_system.h"
#include "platform/stop_signals.h"
#include "program_fixture.h"

#include <QKeyEvent>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

namespace tralvo {
namespace {

class RecoveryUndoTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        player = folder.MakeFolder("player");
        album = folder.MakeFolder("player/Album");
    }
    void StartWithType(int type) {
        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\nType=" +
                                           std::to_string(type) + "\n[Sort]\n1=1\n2=1\n3=1\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
    }
    void PressCtrlZ() {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
        QApplication::sendEvent(TracksLB(), &event);
    }

    std::string player;
    std::string album;
};

TEST_F(RecoveryUndoTest, AFolderLeftByAnInterruptedRunIsOfferedBackAndNoLeavesItAlone) {
    folder.WriteFile("player/Album/Alpha.mp3", test::TaggedSong("Alpha"));
    folder.MakeFolder("player/Album/QZ_TEMP2");
    folder.WriteFile("player/Album/QZ_TEMP2/Bravo.mp3", test::TaggedSong("Bravo"));
    ASSERT_NO_FATAL_FAILURE(StartWithType(1));

    messages.answers = {MessageAnswer::No};
    PlayerTree()->SetPath(album);
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"RecoverFolder"});
    EXPECT_EQ(messages.asked[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Alpha.mp3"});
    EXPECT_TRUE(std::filesystem::exists(album + "/QZ_TEMP2/Bravo.mp3"));

    Click("MyPlayerRefreshBtn"); // asked again; Yes this time
    EXPECT_EQ(messages.TextKeys(),
              (std::vector<std::string>{"RecoverFolder", "RecoverFolder", "RecoverDone"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.mp3", "Bravo.mp3"}));
    EXPECT_FALSE(std::filesystem::exists(album + "/QZ_TEMP2"));
    EXPECT_EQ(test::ReadFile(album + "/Bravo.mp3"), test::TaggedSong("Bravo"));
}

TEST_F(RecoveryUndoTest, CtrlZPutsTheFolderBackAsItWasBeforeTheLastRun) {
    for (const char* name : {"{3}Alpha.mp3", "Bravo.mp3", "{1}Charlie.mp3"}) {
        folder.WriteFile(std::string("player/Album/") + name, test::TaggedSong(name));
    }
    ASSERT_NO_FATAL_FAILURE(StartWithType(1));
    PlayerTree()->SetPath(album);
    const std::vector<std::string> before = Shown();
    Click("ReverseSortBtn");
    Click("TralvoBtn");
    ASSERT_TRUE(messages.asked.empty()) << messages.asked[0].textKey;
    ASSERT_NE(Shown(), before);

    PressCtrlZ();
    EXPECT_TRUE(messages.asked.empty()) << messages.asked[0].textKey;
    EXPECT_EQ(Shown(), before);
    for (const char* name : {"{3}Alpha.mp3", "Bravo.mp3", "{1}Charlie.mp3"}) {
        EXPECT_TRUE(std::filesystem::exists(album + "/" + name)) << name;
    }
    EXPECT_FALSE(Pane().Changed());

    PressCtrlZ(); // the undo left nothing to undo
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"NothingToUndo"});
}

// Undoing a creation-time run makes tracks anew as the run did: the user is told first.
TEST_F(RecoveryUndoTest, CtrlZAfterTracksWereMadeAnewAsksFirst) {
    for (const char* name : {"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"}) {
        folder.WriteFile(std::string("player/Album/") + name, test::TaggedSong(name));
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // one birth time each
    }
    ASSERT_NO_FATAL_FAILURE(StartWithType(2));
    PlayerTree()->SetPath(album);
    const std::vector<std::string> before = Shown();
    Click("ReverseSortBtn");
    messages.answers = {MessageAnswer::Yes};
    Click("TralvoBtn");
    ASSERT_EQ(messages.TextKeys(), std::vector<std::string>{"RecreateTracks"});
    ASSERT_NE(Shown(), before);

    messages.answers = {MessageAnswer::No};
    PressCtrlZ();
    EXPECT_EQ(messages.TextKeys(), (std::vector<std::string>{"RecreateTracks", "RecreateTracks"}));
    EXPECT_NE(Shown(), before);
    PressCtrlZ(); // Yes
    EXPECT_EQ(messages.asked.size(), 3U);
    EXPECT_EQ(Shown(), before);
}

// A logout's SIGTERM in the middle of a run: the run stops at its next step, the folder is put
// back, the user is told, and the window then goes as the session asked.
TEST_F(RecoveryUndoTest, ASignalDuringARunPutsTheFolderBackAndThenClosesTheWindow) {
    const std::vector<const char*> names = {"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"};
    for (const char* name : names) {
        folder.WriteFile(std::string("player/Album/") + name, test::TaggedSong(name));
    }
    folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\nType=1\n");
    // The session's signal arrives after the second rename.
    struct SignalAfterTwoRenames : ForwardingFileSystem {
        Status Rename(const std::string& from, const std::string& to) override {
            Status status = ForwardingFileSystem::Rename(from, to);
            if (++renames == 2) {
                std::raise(SIGTERM);
            }
            return status;
        }
        int renames = 0;
    } fs;
    Start();
    main = std::make_unique<MainWindow>(guiSettings, messages, fs);
    settingsForm = std::make_unique<SettingsDialog>(guiSettings, messages, [](QWidget*) {});
    settingsForm->setParent(main.get(), settingsForm->windowFlags());
    main->SetSettingsForm(settingsForm.get());
    ASSERT_TRUE(main->StartupCheck(false));
    main->show();
    PlayerTree()->SetPath(album);
    Click("ReverseSortBtn");
    Click("TralvoBtn");
    EXPECT_EQ(messages.TextKeys(), std::vector<std::string>{"RunStopped"});
    for (const char* name : names) {
        EXPECT_EQ(test::ReadFile(album + "/" + name), test::TaggedSong(name)) << name;
    }
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"}));
    QApplication::processEvents();
    EXPECT_FALSE(main->isVisible());
    ClearRunStop();
}

} // namespace
} // namespace tralvo
