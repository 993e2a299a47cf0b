#include "platform/drives.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <map>

namespace tralvo {
namespace {

// Answers only what the drive functions ask: the process's paths and the volumes of paths.
class FakeVolumes final : public FileSystem {
public:
    std::string currentFolder = "/home/user/music";
    std::string programPath = "/media/player/Tralvo/tralvo";
    std::map<std::string, std::string> volumes = {
        {"/home/user/music", "/home"},
        {"/media/player/Tralvo/tralvo", "/media/player"},
    };

    std::string VolumeOf(const std::string& path) override {
        const auto it = volumes.find(path);
        return it == volumes.end() ? std::string() : it->second;
    }
    std::string ProgramPath() override { return programPath; }
    std::string CurrentFolder() override { return currentFolder; }

    Status Enumerate(const std::string&, EnumerateFilter, bool,
                     std::vector<DirectoryEntry>&) override {
        return Unused();
    }
    Status Rename(const std::string&, const std::string&) override { return Unused(); }
    Status CreateFolder(const std::string&) override { return Unused(); }
    Status RemoveFolder(const std::string&) override { return Unused(); }
    bool FileExists(const std::string&) override { return false; }
    bool FolderExists(const std::string&) override { return false; }
    std::string ShortPath(const std::string&) override { return {}; }
    Status ReadCreationTime(const std::string&, FileTime&) override { return Unused(); }
    Status WriteCreationTime(const std::string&, FileTime) override { return Unused(); }
    std::vector<Volume> Volumes() override { return {}; }

private:
    static Status Unused() {
        ADD_FAILURE() << "the drive functions should not call this";
        return Status::Failure(-1, "unused");
    }
};

TEST(PlayerRootFor, KeepsDriveLettersInWindowsForm) {
    FakeVolumes fs;
    EXPECT_EQ(PlayerRootFor("A", fs), "A:\\");
    EXPECT_EQ(PlayerRootFor("E", fs), "E:\\");
    EXPECT_EQ(PlayerRootFor("Z", fs), "Z:\\");
}

TEST(PlayerRootFor, GivesTheVolumeOfTheCurrentFolderOrOfTheProgram) {
    FakeVolumes fs;
    EXPECT_EQ(PlayerRootFor("?", fs), "/home/");
    EXPECT_EQ(PlayerRootFor("@", fs), "/media/player/");

    fs.volumes[fs.currentFolder] = "/";
    EXPECT_EQ(PlayerRootFor("?", fs), "/");
}

TEST(PlayerRootFor, IsEmptyWhenTheVolumeCannotBeTold) {
    FakeVolumes fs;
    fs.volumes.clear();
    EXPECT_EQ(PlayerRootFor("?", fs), "");
    EXPECT_EQ(PlayerRootFor("@", fs), "");
}

TEST(PlayerRootFor, GivesAnAbsoluteFolderWithExactlyOneTrailingSlash) {
    FakeVolumes fs;
    EXPECT_EQ(PlayerRootFor("/media/user/PLAYER", fs), "/media/user/PLAYER/");
    EXPECT_EQ(PlayerRootFor("/media/user/PLAYER//", fs), "/media/user/PLAYER/");
    EXPECT_EQ(PlayerRootFor("/", fs), "/");
    EXPECT_EQ(PlayerRootFor("//", fs), "/");
}

TEST(PlayerRootFor, FallsBackToDriveCForAnythingElse) {
    FakeVolumes fs;
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
    FakeVolumes fs;
    fs.volumes = {{"/media/a/x.mp3", "/media/a"},
                  {"/media/a/sub/y.mp3", "/media/a"},
                  {"/media/ab/z.mp3", "/media/ab"}};
    EXPECT_TRUE(SameDrive("/media/a/x.mp3", "/media/a/sub/y.mp3", fs));
    // The first three characters agree, but the volumes do not.
    EXPECT_FALSE(SameDrive("/media/a/x.mp3", "/media/ab/z.mp3", fs));
}

TEST(SameDrive, ComparesTheFirstThreeCharactersOtherwise) {
    FakeVolumes fs;
    fs.volumes = {{"/media/a/x.mp3", "/media/a"}};
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
