// The preview player through the real main window, on the engine's silent device.
#include "gui/main_window/computer_pane.h"
#include "gui/main_window/main_window.h"
#include "gui/main_window/preview_player.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "playback/audio_engine.h"
#include "playback/fixtures.h"
#include "program_fixture.h"

#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace tralvo {
namespace {

constexpr const char* IdleText = "Double-click a track to play it.";

// Lets the window's timer and the engine run for a while.
void Wait(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class PreviewPlayerTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        music = folder.MakeFolder("music");
        for (const char* name : {"tone.mp3", "short.mp3", "text.mp3"}) {
            folder.WriteFile(std::string("music/") + name, test::ReadFile(test::Fixture(name)));
        }
        // The engine opens WMA files only through its WMA call.
        folder.WriteFile("music/Tone.WMA", test::ReadFile(test::Fixture("tone.wma")));
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
        folder.WriteFile("player/Album/Track.ogg", test::ReadFile(test::Fixture("tone.ogg")));

        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
        Computer().ShowFolder(music);
        PlayerTree()->SetPath(player + "/Album");
        main->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(TracksLB()->model()->rowCount(), 1);
    }
    int FileRow(const std::string& name) const {
        const auto& names = Computer().Files().Names();
        const auto found = std::find(names.begin(), names.end(), name);
        EXPECT_NE(found, names.end()) << name;
        return static_cast<int>(found - names.begin());
    }
    // The user's click on a file: the list takes the focus, the item becomes current.
    void PickFile(const std::string& name) {
        FileList().setFocus();
        FileList().setCurrentIndex(FileList().model()->index(FileRow(name), 0));
        ASSERT_TRUE(FileList().hasFocus());
    }
    void PlayFile(const std::string& name) {
        PickFile(name);
        Control<QToolButton>("PlayBtn").click();
        ASSERT_NE(Player().Stream(), 0u) << name;
    }
    double PlayingSeconds() const {
        playback::AudioEngine& engine = playback::Engine();
        const playback::StreamHandle stream = Player().Stream();
        return engine.ChannelBytes2Seconds(stream, engine.ChannelGetPosition(stream));
    }
    QString Status() const { return Control<QLineEdit>("PlayerStatusEB").text(); }
    int Position() const { return Control<QProgressBar>("PlayerPB").value(); }
    // The timer's tick, at once.
    void Tick() const { Player().UpdatePosition(); }
    void ExpectIdle() const {
        EXPECT_EQ(Status(), IdleText);
        EXPECT_EQ(Position(), 0);
        EXPECT_FALSE(Player().Ticking());
        EXPECT_EQ(Player().Stream(), 0u);
        EXPECT_TRUE(Player().FileInPlay().empty());
        EXPECT_FALSE(Player().HoldsEngine());
    }

    std::string music;
    std::string player;
};

TEST_F(PreviewPlayerTest, PlayShowsTheFocusedFileAtTheNextTickAndStopReturnsToIdle) {
    EXPECT_FALSE(Player().Ticking());
    PlayFile("tone.mp3");
    EXPECT_EQ(Player().FileInPlay(), music + "/tone.mp3");
    EXPECT_TRUE(Player().Ticking());
    EXPECT_EQ(Player().findChild<QTimer*>("PlayerTimer")->interval(), 500);
    EXPECT_TRUE(FileList().hasFocus()); // the button takes no focus
    EXPECT_EQ(Status(), IdleText);
    Tick();
    EXPECT_EQ(Status(), "00:00 (00:03): tone.mp3");

    Control<QToolButton>("StopBtn").click();
    EXPECT_NE(Player().Stream(), 0u); // the next tick notices
    Tick();
    ExpectIdle();
}

TEST_F(PreviewPlayerTest, WmaFilesOpenWhateverTheCaseOfTheirExtension) {
    PlayFile("Tone.WMA");
    Tick();
    EXPECT_EQ(Status(), "00:00 (00:03): Tone.WMA");
}

TEST_F(PreviewPlayerTest, ADoubleClickInTheTrackListReplacesWhatPlays) {
    PlayFile("tone.mp3");
    const std::uint32_t first = Player().Stream();
    // The window system gives the list the focus on the first press.
    TracksLB()->setFocus();
    QWidget& viewport = *TracksLB()->viewport();
    const QPoint item = TracksLB()->visualRect(TracksLB()->model()->index(0, 0)).center();
    SendMouse(viewport, QEvent::MouseButtonPress, item, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, item, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonDblClick, item, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, item, Qt::LeftButton);
    EXPECT_NE(Player().Stream(), 0u);
    EXPECT_NE(Player().Stream(), first);
    EXPECT_LT(playback::Engine().ChannelBytes2Seconds(first, 0), 0); // stopped and released
    EXPECT_EQ(Player().FileInPlay(), player + "/Album/Track.ogg");
    Tick();
    EXPECT_EQ(Status(), "00:00 (00:03): Track.ogg");
}

TEST_F(PreviewPlayerTest, PlayDoesNothingWithoutAFocusedListOrWithTwoItemsSelected) {
    PickFile("tone.mp3");
    Button("ExitBtn")->setFocus();
    Control<QToolButton>("PlayBtn").click();
    EXPECT_EQ(Player().Stream(), 0u);
    EXPECT_FALSE(Player().HoldsEngine());

    PickFile("tone.mp3");
    FileList().selectionModel()->select(FileList().model()->index(FileRow("short.mp3"), 0),
                                        QItemSelectionModel::Select);
    Control<QToolButton>("PlayBtn").click();
    EXPECT_EQ(Player().Stream(), 0u);
    EXPECT_FALSE(Player().Ticking());
    EXPECT_FALSE(Player().HoldsEngine());
}

TEST_F(PreviewPlayerTest, AFileThatWillNotOpenIsNotReportedAndEndsWhatPlayed) {
    PickFile("text.mp3");
    Control<QToolButton>("PlayBtn").click();
    EXPECT_EQ(Player().Stream(), 0u);
    EXPECT_TRUE(Player().FileInPlay().empty());
    EXPECT_FALSE(Player().HoldsEngine());
    EXPECT_EQ(Status(), IdleText);
    EXPECT_TRUE(messages.asked.empty());

    // The file in play was stopped first: the status line must not go on naming it.
    PlayFile("tone.mp3");
    Tick();
    PickFile("text.mp3");
    Control<QToolButton>("PlayBtn").click();
    Tick();
    ExpectIdle();
}

TEST_F(PreviewPlayerTest, PausingTwiceResumesWherePlaybackPaused) {
    PlayFile("tone.mp3");
    Wait(300);
    Control<QToolButton>("PauseBtn").click();
    const double paused = PlayingSeconds();
    EXPECT_GT(paused, 0.1);
    Wait(500);
    EXPECT_DOUBLE_EQ(PlayingSeconds(), paused);
    EXPECT_TRUE(Player().Ticking());
    Control<QToolButton>("PauseBtn").click();
    Wait(300);
    EXPECT_GT(PlayingSeconds(), paused + 0.1);
    EXPECT_LT(PlayingSeconds(), paused + 1.0); // not from the start again
}

TEST_F(PreviewPlayerTest, AFileOfLessThanHalfASecondShowsTheBarAtZeroAndEndsByItself) {
    PlayFile("short.mp3");
    Tick();
    EXPECT_EQ(Status(), "00:00 (00:00): short.mp3");
    EXPECT_EQ(Position(), 0);
    Wait(1300); // the file's end, then the window's own tick
    ExpectIdle();
}

TEST_F(PreviewPlayerTest, PressingTheBarSeeksAndShowsTheNewPositionAtOnce) {
    PlayFile("tone.mp3");
    QProgressBar& bar = Control<QProgressBar>("PlayerPB");
    SendMouse(bar, QEvent::MouseButtonPress, {(bar.width() - 2) * 2 / 3, bar.height() / 2},
              Qt::LeftButton);
    EXPECT_NEAR(PlayingSeconds(), 2.0, 0.2);
    EXPECT_TRUE(Status().startsWith("00:02 (00:03)"));
    EXPECT_NEAR(Position(), 667, 1);

    // Any button seeks; the left edge is the start.
    SendMouse(bar, QEvent::MouseButtonPress, {0, bar.height() / 2}, Qt::RightButton);
    EXPECT_LT(PlayingSeconds(), 0.2);
    EXPECT_EQ(Status(), "00:00 (00:03): tone.mp3");
    EXPECT_EQ(Position(), 0);
}

TEST_F(PreviewPlayerTest, TheVolumeBarSetsTheEngineVolumeAlsoWhenNothingPlays) {
    const int before = Control<QSlider>("VolumeTB").value();
    Control<QSlider>("VolumeTB").setValue(before == 30 ? 40 : 30);
    EXPECT_TRUE(Player().HoldsEngine());
    EXPECT_EQ(playback::Engine().GetVolume(), Control<QSlider>("VolumeTB").value());
    Control<QSlider>("VolumeTB").setValue(before);
}

TEST_F(PreviewPlayerTest, TheStatusLineHandsTheFocusOn) {
    Control<QLineEdit>("PlayerStatusEB").setFocus();
    EXPECT_TRUE(Button("ExitBtn")->hasFocus()); // nothing to write: the Tralvo button is disabled
    Pane().SetChanged(true);
    Control<QLineEdit>("PlayerStatusEB").setFocus();
    EXPECT_TRUE(Button("TralvoBtn")->hasFocus());
}

} // namespace
} // namespace tralvo
