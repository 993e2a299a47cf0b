// Players remembered: another player volume under the player root brings its own settings.
#include "gui/panes/volume_watcher.h"
#include "program_fixture.h"
#include "support/forwarding_file_system.h"

namespace tralvo {
namespace {

// The real files, with the mounted volumes as the test says.
class MountedVolumes final : public test::ForwardingFileSystem {
public:
    std::vector<Volume> Volumes() override { return volumes; }
    std::vector<Volume> volumes;
};

using MainWindowPlayers = test::MainWindowFixture;

// One mount point where the test plugs in sticks, as an automounter that names mount points
// by the device does.
TEST_F(MainWindowPlayers, AnotherPlayerPluggedInBringsItsSettingsAndItsLastFolder) {
    const std::string usb = folder.MakeFolder("usb");
    folder.MakeFolder("usb/Pop");
    folder.MakeFolder("usb/Books");
    folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + usb + "\nType=1\nVolume=1234-ABCD\n" +
                                       "[Player 9F00-0001]\nType=2\nLastFolder=Books\n" +
                                       "[Window]\nLastMyPlayerPath=" + usb + "/Pop\n");
    MountedVolumes fs;
    std::optional<std::string> mounted = "1234-ABCD";
    const PlayerVolumeFinder find = [&](const std::string& root) {
        return root == usb + "/" && mounted ? std::optional(PlayerVolume{*mounted, "", usb})
                                            : std::nullopt;
    };
    Start();
    FollowPlayerVolume(Settings, fs, find); // as the program's start does
    main = std::make_unique<MainWindow>(guiSettings, messages, fs);
    main->SetPlayerVolumeFinder(find);
    ASSERT_TRUE(main->StartupCheck(false));
    const auto plug = [&](std::optional<std::string> id, const std::string& device) {
        mounted = std::move(id);
        fs.volumes = {{usb, "vfat", device}};
        main->findChild<VolumeWatcher*>(QStringLiteral("PlayerVolumeWatcher"))->Check();
    };
    EXPECT_EQ(Pane().Folder(), usb + "/Pop");

    plug("9F00-0001", "/dev/sdz1");
    EXPECT_EQ(Settings.PlayerType, PlayerType::CreationTimes);
    EXPECT_EQ(Pane().Order().type, PlayerType::CreationTimes); // the list read anew
    EXPECT_EQ(Pane().Folder(), usb + "/Books");
    EXPECT_EQ(Settings.Players.Find("1234-ABCD")->lastFolder, "Pop");
    plug("1234-ABCD", "/dev/sdy1");
    EXPECT_EQ(Settings.PlayerType, PlayerType::FileNames);
    EXPECT_EQ(Pane().Folder(), usb + "/Pop");

    // A stick without an identity: the settings in force stay.
    plug(std::nullopt, "/dev/sdx1");
    EXPECT_EQ(Settings.PlayerType, PlayerType::FileNames);
    EXPECT_FALSE(Settings.Players.current.has_value());
    EXPECT_TRUE(messages.asked.empty());
}

} // namespace
} // namespace tralvo
