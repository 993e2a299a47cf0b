#include "gui/panes/core/computer_volumes.h"
#include "gui/panes/core/folder_path.h"
#include "gui/panes/core/folder_reader.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

std::vector<std::string> Names(const std::vector<Subfolder>& subfolders) {
    std::vector<std::string> names;
    for (const Subfolder& subfolder : subfolders) {
        names.push_back(subfolder.name);
    }
    return names;
}

TEST(FolderReader, ListsHiddenFoldersWithoutFilesInFoldedNameOrder) {
    const test::TempFolder temp;
    for (const char* name : {"b", "C", ".hidden", "a", "A"}) {
        temp.MakeFolder(name);
    }
    temp.WriteFile("file", "x");
    std::vector<Subfolder> subfolders;
    ASSERT_TRUE(ReadSubfolders(SystemFileSystem(), temp.path(), {}, {}, subfolders));
    EXPECT_EQ(Names(subfolders), (std::vector<std::string>{".hidden", "A", "a", "b", "C"}));
    EXPECT_EQ(subfolders[0].path, temp / ".hidden");
}

TEST(FolderReader, FilterIsAskedWithFullPathsAndMountPointsEndInSlash) {
    const test::TempFolder temp;
    temp.MakeFolder("keep");
    temp.MakeFolder("drop");
    temp.MakeFolder("volume");
    std::vector<std::string> asked;
    const FolderFilter filter = [&](const std::string& path) {
        asked.push_back(path);
        return path != temp / "drop";
    };
    std::vector<Subfolder> subfolders;
    ASSERT_TRUE(
        ReadSubfolders(SystemFileSystem(), temp.path(), {temp / "volume"}, filter, subfolders));
    EXPECT_EQ(Names(subfolders), (std::vector<std::string>{"keep", "volume"}));
    EXPECT_TRUE(subfolders[1].isMountPoint);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{temp / "drop", temp / "keep", temp / "volume/"}));
}

TEST(FolderReader, ExpandabilityComesFromTheLinkCountWithoutListingChildren) {
    const test::TempFolder temp;
    temp.MakeFolder("parent/child");
    temp.MakeFolder("leaf");
    std::vector<Subfolder> subfolders;
    ASSERT_TRUE(ReadSubfolders(SystemFileSystem(), temp.path(), {}, {}, subfolders));
    ASSERT_EQ(Names(subfolders), (std::vector<std::string>{"leaf", "parent"}));
    EXPECT_TRUE(subfolders[1].mayHaveSubfolders);
    if (subfolders[0].mayHaveSubfolders) {
        GTEST_SKIP() << "the temporary folder's file system does not count subfolder links";
    }
}

TEST(FolderReader, UnlistableFolderGivesFailureAndNothing) {
    const test::TempFolder temp;
    std::vector<Subfolder> subfolders = {{"stale", "/stale", false, true}};
    EXPECT_FALSE(ReadSubfolders(SystemFileSystem(), temp / "gone", {}, {}, subfolders));
    EXPECT_TRUE(subfolders.empty());
}

TEST(FolderPath, NormalFormAndNearestExistingFolder) {
    EXPECT_EQ(NormalFolderPath("/a//b/./c/"), "/a/b/c");
    EXPECT_EQ(NormalFolderPath("/a/../../b"), "/b");
    EXPECT_EQ(NormalFolderPath("/"), "/");
    EXPECT_EQ(NormalFolderPath("E:\\"), "");

    const test::TempFolder temp;
    temp.MakeFolder("a/b");
    temp.WriteFile("a/file", "x");
    FileSystem& fs = SystemFileSystem();
    EXPECT_EQ(NearestExistingFolder(fs, temp / "a/b/gone/deeper"), temp / "a/b");
    EXPECT_EQ(NearestExistingFolder(fs, temp / "a/file/x"), temp / "a");
    EXPECT_EQ(NearestExistingFolder(fs, temp / "a/b/"), temp / "a/b");
    EXPECT_EQ(NearestExistingFolder(fs, "E:\\Music"), "");
    EXPECT_EQ(NearestExistingFolder(fs, ""), "");
}

TEST(FolderPath, NextComponentAndNameOrder) {
    EXPECT_EQ(NextComponent("/", "/home/u"), "home");
    EXPECT_EQ(NextComponent("/home", "/home/u/music"), "u");
    EXPECT_EQ(NextComponent("/home", "/home"), "");
    EXPECT_EQ(NextComponent("/home", "/homes/u"), "");
    EXPECT_TRUE(FolderNameLess("a", "B"));
    EXPECT_TRUE(FolderNameLess("A", "a"));
    EXPECT_FALSE(FolderNameLess("a", "A"));
    EXPECT_TRUE(FolderNameLess("_", "Z")); // Z folds to z, which comes after _
}

TEST(ComputerVolumes, ShowsRootAndMountsBelowPrefixesWithTheirLabels) {
    const test::TempFolder temp;
    const std::string player = temp.MakeFolder("media/PLAYER");
    const std::string stick = temp.MakeFolder("media/stick");
    const std::string boot = temp.MakeFolder("boot/efi");
    const std::string file = temp.WriteFile("media/resolv.conf", "x");
    const std::string device = temp.WriteFile("sdz1", "");
    temp.MakeFolder("by-label");
    std::filesystem::create_symlink(device, temp / "by-label/MY\\x20PLAYER");

    const std::vector<Volume> volumes = {
        {"/", "ext4", "/dev/root"},         {"/proc", "proc", "proc"},
        {boot, "vfat", "/dev/sda1"},        {player, "vfat", device},
        {file, "ext4", "/dev/root"},        {stick, "tmpfs", "tmpfs"},
        {stick, "fuse.fusefat", "fusefat"}, // stacked on the tmpfs: seen instead of it
    };
    const std::vector<ComputerVolume> shown = ComputerVolumes(
        SystemFileSystem(), volumes, {temp / "media"}, ReadVolumeLabels(temp / "by-label"));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].mountPoint, "/");
    EXPECT_EQ(shown[0].label, "/");
    EXPECT_EQ(shown[1].mountPoint, player);
    EXPECT_EQ(shown[1].label, "MY PLAYER");
    EXPECT_EQ(shown[2].mountPoint, stick);
    EXPECT_EQ(shown[2].label, "stick");
    EXPECT_TRUE(shown[2].removable);
}

} // namespace
} // namespace tralvo
