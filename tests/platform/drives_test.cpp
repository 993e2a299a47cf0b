#include "platform/drives.h"
#include "support/fake_file_system.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

// The process runs from a player and was started in the user's music folder.
struct ProcessOnAPlayer : test::FakeFileSystem {
    ProcessOnAPlayer() {
        currentFolder = "/home/user/music";
        programPath = "/media/player/Tralvo/tralvo";
        volumeOf = {{currentFolder, "/home"}, {programPath, "/media/player"}};
    }
};

TEST(PlayerRootFor, KeepsDriveLettersInWindowsForm) {
    ProcessOnAPlayer fs;
    EXPECT_EQ(PlayerRootFor("A", fs), "A:\\");
    EXPECT_EQ(PlayerRootFor("E", fs), "E:\\");
    EXPECT_EQ(PlayerRootFor("Z", fs), "Z:\\");
}

TEST(PlayerRootFor, GivesTheVolumeOfTheCurrentFolderOrOfTheProgram) {
    ProcessOnAPlayer fs;
    EXPECT_EQ(PlayerRootFor("?", fs), "/home/");
    EXPECT_EQ(PlayerRootFor("@", fs), "/media/player/");

    fs.volumeOf[fs.currentFolder] = "/";
    EXPECT_EQ(PlayerRootFor("?", fs), "/");
}

TEST(PlayerRootFor, IsEmptyWhenTheVolumeCannotBeTold) {
    ProcessOnAPlayer fs;
    fs.volumeOf.clear();
    EXPECT_EQ(PlayerRootFor("?", fs), "");
    EXPECT_EQ(PlayerRootFor("@", fs), "");
}

TEST(PlayerRootFor, GivesAnAbsoluteFolderWithExactlyOneTrailingSlash) {
    ProcessOnAPlayer fs;
    EXPECT_EQ(PlayerRootFor("/media/user/PLAYER", fs), "/media/user/PLAYER/");
    EXPECT_EQ(PlayerRootFor("/media/user/PLAYER//", fs), "/media/user/PLAYER/");
    EXPECT_EQ(PlayerRootFor("/", fs), "/");
    EXPECT_EQ(PlayerRootFor("//", fs), "/");
}

TEST(PlayerRootFor, FallsBackToDriveCForAnythingElse) {
    ProcessOnAPlayer fs;
    for (const char* value : {"", "e", "EF", "1", "*", "media/player"}) {
        EXPECT_EQ(PlayerRootFor(value, fs), "C:\\") << '"' << value << '"';
    }
}

TEST(PlayerRootFor, CurrentFolderVolumeOnThisSystemHoldsTheCurrentFolder) {
    FileSystem& fs = SystemFileSystem();
    const std::string root = PlayerRootFor("?", fs);
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.back(), '/');
    EXPECT_TRUE(fs.FolderExists(root)) << root;
    EXPECT_TRUE((fs.CurrentFolder() + "/").starts_with(root)) << root;
    EXPECT_TRUE(fs.ProgramPath().starts_with(PlayerRootFor("@", fs)));
}

TEST(SameDrive, ComparesVolumesWhereBothAreKnown) {
    ProcessOnAPlayer fs;
    fs.volumeOf = {{"/media/a/x.mp3", "/media/a"},
                   {"/media/a/sub/y.mp3", "/media/a"},
                   {"/media/ab/z.mp3", "/media/ab"}};
    EXPECT_TRUE(SameDrive("/media/a/x.mp3", "/media/a/sub/y.mp3", fs));
    // The first three characters agree, but the volumes do not.
    EXPECT_FALSE(SameDrive("/media/a/x.mp3", "/media/ab/z.mp3", fs));
}

TEST(SameDrive, ComparesTheFirstThreeCharactersOtherwise) {
    ProcessOnAPlayer fs;
    fs.volumeOf = {{"/media/a/x.mp3", "/media/a"}};
    EXPECT_TRUE(SameDrive("E:\\Music", "e:\\", fs));
    EXPECT_FALSE(SameDrive("E:\\Music", "F:\\Music", fs));
    EXPECT_FALSE(SameDrive("E:\\", "/media/a/x.mp3", fs));
    EXPECT_TRUE(SameDrive("/media/a/x.mp3", "/media/unknown", fs));
}

TEST(SameDrive, TellsVolumesApartOnThisSystem) {
    FileSystem& fs = SystemFileSystem();
    test::TempFolder temp;
    const std::string file = temp.WriteFile("a.mp3", "x");
    EXPECT_TRUE(SameDrive(file, temp / "not-yet/b.mp3", fs));
    EXPECT_FALSE(SameDrive(file, "/proc/self", fs));
    EXPECT_FALSE(SameDrive(file, "E:\\", fs));
}

} // namespace
} // namespace tralvo
