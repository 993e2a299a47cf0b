// The preview player and its panel on their own, on the engine's silent device.
#include "gui/main_window/player_panel.h"
#include "gui/main_window/preview_player.h"
#include "playback/audio_engine.h"
#include "playback/fixtures.h"
#include "program_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>

namespace tralvo {
namespace {

class PlayerPanelTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override {
        ProgramFolderFixture::SetUp();
        Start();
        tone = folder.WriteFile("tone.mp3", test::ReadFile(test::Fixture("tone.mp3")));
    }
    template <typename Widget>
    Widget& Part(const char* name) {
        auto* widget = panel.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }

    std::string tone;
    PreviewPlayer player;
    PlayerPanel panel;
};

TEST_F(PlayerPanelTest, ShowsWhatThePlayerReportsThenTheHintOnceNothingPlays) {
    panel.Bind(player);
    std::vector<QString> statuses;
    QObject::connect(&player, &PreviewPlayer::StatusChanged,
                     [&](const QString& status) { statuses.push_back(status); });
    player.Play(tone);
    ASSERT_NE(player.Stream(), 0u);
    EXPECT_TRUE(player.Ticking());
    player.UpdatePosition();
    EXPECT_EQ(Part<QLineEdit>("PlayerStatusEB").text(), "00:00 (00:03): tone.mp3");
    EXPECT_EQ(statuses, std::vector<QString>{"00:00 (00:03): tone.mp3"});

    Part<QToolButton>("StopBtn").click();
    player.UpdatePosition();
    EXPECT_EQ(Part<QLineEdit>("PlayerStatusEB").text(), "Double-click a track to play it.");
    EXPECT_EQ(Part<QProgressBar>("PlayerPB").value(), 0);
    EXPECT_FALSE(player.Ticking());
    EXPECT_FALSE(player.HoldsEngine());
}

TEST_F(PlayerPanelTest, ANoteOnTheFolderShowsWhileNothingPlays) {
    panel.Bind(player);
    auto& status = Part<QLineEdit>("PlayerStatusEB");
    panel.ShowNote("Junk here");
    EXPECT_EQ(status.text(), "Junk here");
    player.Play(tone);
    ASSERT_NE(player.Stream(), 0u);
    player.UpdatePosition();
    panel.ShowNote("Other junk");
    EXPECT_EQ(status.text(), "00:00 (00:03): tone.mp3");
    Part<QToolButton>("StopBtn").click();
    player.UpdatePosition();
    EXPECT_EQ(status.text(), "Other junk");
    panel.ShowNote({});
    EXPECT_EQ(status.text(), "Double-click a track to play it.");
}

TEST_F(PlayerPanelTest, PlayAsksTheWindowWhatToPlay) {
    panel.Bind(player);
    int requests = 0;
    QObject::connect(&panel, &PlayerPanel::PlayRequested, [&] { ++requests; });
    Part<QToolButton>("PlayBtn").click();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(player.Stream(), 0u); // the panel plays nothing by itself
}

TEST_F(PlayerPanelTest, AFileThatWillNotOpenLeavesThePlayerIdleAndTheEngineFree) {
    int idle = 0;
    QObject::connect(&player, &PreviewPlayer::Idle, [&] { ++idle; });
    player.Play(folder / "missing.mp3");
    EXPECT_EQ(player.Stream(), 0u);
    EXPECT_TRUE(player.FileInPlay().empty());
    EXPECT_FALSE(player.HoldsEngine());
    EXPECT_FALSE(player.Ticking());
    EXPECT_EQ(idle, 0); // nothing played, so nothing to report
}

TEST_F(PlayerPanelTest, TheVolumeShowsTheEngineVolumeWithoutHoldingTheEngineAndSetsIt) {
    const int before = player.Volume();
    {
        PreviewPlayer earlier;
        earlier.SetVolume(30);
    }
    panel.Bind(player);
    auto& volume = Part<QSlider>("VolumeTB");
    EXPECT_EQ(volume.value(), 30);
    EXPECT_FALSE(player.HoldsEngine());
    volume.setValue(70);
    EXPECT_TRUE(player.HoldsEngine());
    EXPECT_EQ(playback::Engine().GetVolume(), 70);
    volume.setValue(before);
}

TEST_F(PlayerPanelTest, ALongVolumeLabelShortensThePositionBarInsteadOfOverlappingIt) {
    auto& label = Part<QLabel>("VolumeLbl");
    label.setText(QStringLiteral("A rather long volume label:"));
    panel.LayOut();
    const QRect bar = Part<QProgressBar>("PlayerPB").geometry();
    const QRect slider = Part<QSlider>("VolumeTB").geometry();
    EXPECT_EQ(slider.right(), panel.width() - 1);
    EXPECT_EQ(label.geometry().right() + 1, slider.left());
    EXPECT_EQ(bar.right() + 1 + 16, label.geometry().left());
    EXPECT_GT(bar.width(), 0);
}

TEST_F(PlayerPanelTest, TheStatusLineTellsWhenItWouldTakeTheFocus) {
    int focused = 0;
    QObject::connect(&panel, &PlayerPanel::StatusLineFocused, [&] { ++focused; });
    panel.show();
    QApplication::setActiveWindow(&panel);
    Part<QLineEdit>("PlayerStatusEB").setFocus();
    EXPECT_EQ(focused, 1);
}

} // namespace
} // namespace tralvo
