#include "i18n/language_catalogue.h"
#include "i18n/web_links.h"
#include "settings/player_drive_choices.h"
#include "support/fake_file_system.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

class PlayerDriveChoicesTest : public testing::Test {
protected:
    void SetUp() override {
        fs.volumeOf = {{fs.currentFolder, "/home"}, {fs.programPath, "/"}};
        Catalogue().Open(folder.WriteFile("Tralvo.lng", "[Languages]\nCount=1\n"
                                                        "[Language0-Strings]\n"
                                                        "CurrentDrive=Current drive\n"
                                                        "TralvoDrive=Tralvo's drive\n"
                                                        "Drive=Drive\n"));
    }
    void TearDown() override { Catalogue().Close(); }

    void Mount(std::string mountPoint, std::string type, std::string source) {
        fs.folders.insert(mountPoint);
        fs.volumes.push_back({std::move(mountPoint), std::move(type), std::move(source)});
    }

    test::TempFolder folder;
    test::FakeFileSystem fs;
};

TEST_F(PlayerDriveChoicesTest, ListsTheTwoProcessVolumesThenTheVolumesAPlayerCanBeAmong) {
    Mount("/", "ext4", "/dev/vda1");
    Mount("/boot/efi", "vfat", "/dev/vda2");
    Mount("/media/user/PLAYER", "vfat", "/dev/tralvo-test-sdb1");
    Mount("/mnt/fat", "fuse.fusefat", "/home/user/fat.img");
    Mount("/proc", "proc", "proc");
    Mount("/run/media/user/STICK", "vfat", "/dev/tralvo-test-sdc1");
    Mount("/run/user/1000/doc", "fuse.portal", "portal");
    Mount("/etc/hosts", "ext4", "/dev/vda1");
    fs.folders.erase("/etc/hosts"); // a file bound into place

    const std::vector<PlayerDriveChoice> choices =
        PlayerDriveChoices(fs, {{"/dev/tralvo-test-sdb1", "MY PLAYER"}});

    std::vector<std::pair<std::string, std::string>> shown;
    for (const PlayerDriveChoice& choice : choices) {
        shown.emplace_back(choice.value, choice.text);
        EXPECT_EQ(choice.mustExist, choice.value != "?" && choice.value != "@") << choice.value;
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"?", "Current drive (/home)"},
        {"@", "Tralvo's drive (/)"},
        {"/", "Drive / (/)"},
        {"/media/user/PLAYER", "Drive MY PLAYER (/media/user/PLAYER)"},
        {"/mnt/fat", "Drive /mnt/fat (/mnt/fat)"},
        {"/run/media/user/STICK", "Drive /run/media/user/STICK (/run/media/user/STICK)"},
    };
    EXPECT_EQ(shown, expected);
}

TEST_F(PlayerDriveChoicesTest, AStoredValueMissingFromTheListGetsOneEntryOfItsOwn) {
    Mount("/media/user/PLAYER", "vfat", "/dev/tralvo-test-sdb1");
    std::vector<PlayerDriveChoice> choices = PlayerDriveChoices(fs, {});
    EXPECT_EQ(ChoiceIndexFor(choices, "@"), 1U);
    EXPECT_EQ(ChoiceIndexFor(choices, "/media/user/PLAYER/"), 2U);
    EXPECT_EQ(ChoiceIndexFor(choices, "/media/user/OLD"), 3U);
    EXPECT_EQ(ChoiceIndexFor(choices, "/media/user/OLD"), 3U);
    EXPECT_EQ(ChoiceIndexFor(choices, "E"), 4U);
    ASSERT_EQ(choices.size(), 5U);
    EXPECT_EQ(choices[3].text, "Drive /media/user/OLD (/media/user/OLD)");
    EXPECT_EQ(choices[4].text, "Drive E:\\");

    // Only volume entries must exist, even where the process's own volumes cannot be told.
    fs.volumeOf.clear();
    EXPECT_TRUE(ChoiceFolderExists(choices[0], fs));
    EXPECT_TRUE(ChoiceFolderExists(choices[1], fs));
    EXPECT_FALSE(ChoiceFolderExists(choices[3], fs));
    EXPECT_FALSE(ChoiceFolderExists(choices[4], fs));
    fs.folders.insert("/media/user/OLD/");
    EXPECT_TRUE(ChoiceFolderExists(choices[3], fs));
}

TEST(MakerWebLink, PutsTheLinkIdIntoTheQueryOfTheSiteRoot) {
    EXPECT_EQ(MakerWebLink("Tralvo-CompList-DE"),
              "https://www.tralvo.org/?LinkID=Tralvo-CompList-DE");
    // A hand-written language code cannot end the query or start a fragment.
    EXPECT_EQ(MakerWebLink("Tralvo-a b&c#d"),
              "https://www.tralvo.org/?LinkID=Tralvo-a%20b%26c%23d");
}

TEST(SingleMountedPlayer, IsTheOneFatOrExfatVolumeWhereDesktopsMountSticks) {
    const Volume root{"/", "ext4", "/dev/vda1"};
    const Volume efi{"/boot/efi", "vfat", "/dev/vda2"};
    const Volume player{"/media/user/PLAYER", "vfat", "/dev/sdb1"};
    const Volume stick{"/run/media/user/STICK", "exfat", "/dev/sdc1"};
    const Volume disk{"/media/user/DATA", "ext4", "/dev/sdd1"};
    const Volume mountedHere{"/mnt/fat", "vfat", "/dev/sde1"};
    using Found = std::optional<std::string>;

    EXPECT_EQ(SingleMountedPlayer({root, efi, player, disk, mountedHere}),
              Found(player.mountPoint));
    EXPECT_EQ(SingleMountedPlayer({root, stick}), Found(stick.mountPoint));
    EXPECT_EQ(SingleMountedPlayer({root, {"/media/OLD", "msdos", "/dev/fd0"}}),
              Found("/media/OLD"));
    // None, or two to choose from: the user chooses.
    EXPECT_EQ(SingleMountedPlayer({root, efi, disk, mountedHere}), std::nullopt);
    EXPECT_EQ(SingleMountedPlayer({root, player, stick}), std::nullopt);
    EXPECT_EQ(SingleMountedPlayer({{"/media", "vfat", "/dev/sdb1"}}), std::nullopt);
    EXPECT_EQ(SingleMountedPlayer({{"/mediax/P", "vfat", "/dev/sdb1"}}), std::nullopt);
    // The same stick mounted twice on one point is still one.
    EXPECT_EQ(SingleMountedPlayer({player, player}), Found(player.mountPoint));
}

} // namespace
} // namespace tralvo
