#include "platform/file_system.h"
#include "platform/mount_table.h"
#include "platform/rename_no_replace.h"
#include "platform/unique_fd.h"
#include "support/fat_image.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo {
namespace {

using test::ReadFile;
using test::TempFolder;

FileSystem& fs() {
    return SystemFileSystem();
}

std::vector<std::string> RawReaddirOrder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    EXPECT_NE(dir, nullptr) << folder;
    while (dir != nullptr) {
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            ::closedir(dir);
            break;
        }
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    return names;
}

std::vector<std::string> NamesOf(const std::vector<DirectoryEntry>& entries) {
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

const DirectoryEntry* FindEntry(const std::vector<DirectoryEntry>& entries,
                                const std::string& name) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const DirectoryEntry& entry) { return entry.name == name; });
    return it == entries.end() ? nullptr : &*it;
}

// A folder with one of each kind of entry that Enumerate tells apart.
struct MixedFolder {
    TempFolder temp;
    MixedFolder() {
        temp.WriteFile("song.mp3", "x");
        temp.WriteFile(".hidden.mp3", "x");
        temp.MakeFolder("sub");
        EXPECT_EQ(::symlink("sub", (temp / "link-to-sub").c_str()), 0);
        EXPECT_EQ(::symlink("song.mp3", (temp / "link-to-song").c_str()), 0);
        EXPECT_EQ(::symlink("nowhere", (temp / "dangling").c_str()), 0);
    }
};

TEST(Enumerate, KeepsTheFolderOwnOrderUnsorted) {
    TempFolder temp;
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back("track" + std::to_string(i) + ".mp3");
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (const std::string& name : names) {
        temp.WriteFile(name, "x");
    }
    const std::vector<std::string> raw = RawReaddirOrder(temp.path());
    std::vector<std::string> sorted = raw;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_NE(raw, sorted) << "the folder's own order must differ from sorted to tell them apart";

    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(fs().Enumerate(temp.path(), EnumerateFilter::FilesOnly, false, entries));
    EXPECT_EQ(NamesOf(entries), raw);
}

TEST(Enumerate, FollowsLinksToTellFoldersFromFiles) {
    MixedFolder folder;
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(
        fs().Enumerate(folder.temp.path(), EnumerateFilter::FilesAndFolders, false, entries));
    ASSERT_EQ(entries.size(), 6U);
    for (const auto& [name, isFolder] :
         std::vector<std::pair<std::string, bool>>{{"song.mp3", false},
                                                   {".hidden.mp3", false},
                                                   {"sub", true},
                                                   {"link-to-sub", true},
                                                   {"link-to-song", false},
                                                   {"dangling", false}}) {
        const DirectoryEntry* entry = FindEntry(entries, name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->isFolder, isFolder) << name;
    }
}

TEST(Enumerate, FilesOnlyLeavesOutFoldersAndLinksToThem) {
    MixedFolder folder;
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(fs().Enumerate(folder.temp.path(), EnumerateFilter::FilesOnly, true, entries));
    std::vector<std::string> names = NamesOf(entries);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{".hidden.mp3", "dangling", "link-to-song", "song.mp3"}));
}

TEST(Enumerate, ListsDotEntriesOnlyWhenAskedAndFlagsDotFilesHidden) {
    MixedFolder folder;
    std::vector<DirectoryEntry> without;
    ASSERT_TRUE(
        fs().Enumerate(folder.temp.path(), EnumerateFilter::FilesAndFolders, false, without));
    EXPECT_EQ(FindEntry(without, "."), nullptr);
    EXPECT_EQ(FindEntry(without, ".."), nullptr);

    std::vector<DirectoryEntry> with;
    ASSERT_TRUE(fs().Enumerate(folder.temp.path(), EnumerateFilter::FilesAndFolders, true, with));
    EXPECT_EQ(with.size(), without.size() + 2);
    for (const DirectoryEntry& entry : with) {
        EXPECT_EQ(entry.isHidden, entry.name == ".hidden.mp3") << entry.name;
    }
    ASSERT_NE(FindEntry(with, ".."), nullptr);
    EXPECT_TRUE(FindEntry(with, "..")->isFolder);
}

TEST(Enumerate, FailsNamingTheFolderThatCannotBeRead) {
    TempFolder temp;
    const std::string file = temp.WriteFile("file.mp3", "x");
    std::vector<DirectoryEntry> entries{{"stale", false, false}};

    const Status missing =
        fs().Enumerate(temp / "missing", EnumerateFilter::FilesOnly, false, entries);
    EXPECT_EQ(missing.code(), ENOENT);
    EXPECT_NE(missing.message().find(temp / "missing"), std::string::npos) << missing.message();
    EXPECT_TRUE(entries.empty());

    EXPECT_EQ(fs().Enumerate(file, EnumerateFilter::FilesOnly, false, entries).code(), ENOTDIR);
}

TEST(OpenForReading, OpensARegularFileAndRefusesAnythingElseNamingIt) {
    TempFolder temp;
    const std::string file = temp.WriteFile("file.mp3", "bytes");
    UniqueFd fd;
    ASSERT_TRUE(fs().OpenForReading(file, fd));
    char read[8] = {};
    EXPECT_EQ(::read(fd.get(), read, sizeof read), 5);

    const Status missing = fs().OpenForReading(temp / "missing.mp3", fd);
    EXPECT_EQ(missing.code(), ENOENT);
    EXPECT_EQ(missing.message().rfind("open " + (temp / "missing.mp3") + ": ", 0), 0u)
        << missing.message();
    EXPECT_FALSE(fd.valid());
    EXPECT_EQ(fs().OpenForReading(temp.path(), fd).code(), EISDIR);
    // A named pipe without a writer would hold a blocking open forever.
    const std::string pipe = temp / "pipe.mp3";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(fs().OpenForReading(pipe, fd).code(), EINVAL);
}

TEST(Rename, RefusesAnExistingTargetAndLeavesBothFiles) {
    TempFolder temp;
    const std::string from = temp.WriteFile("a.mp3", "source");
    const std::string to = temp.WriteFile("b.mp3", "target");
    const Status status = fs().Rename(from, to);
    EXPECT_EQ(status.code(), EEXIST);
    EXPECT_NE(status.message().find(to), std::string::npos) << status.message();
    EXPECT_EQ(ReadFile(from), "source");
    EXPECT_EQ(ReadFile(to), "target");
}

TEST(Rename, MovesFilesAndFoldersIntoASubfolder) {
    TempFolder temp;
    const std::string file = temp.WriteFile("a.mp3", "content");
    const std::string folder = temp.MakeFolder("album");
    temp.WriteFile("album/inside.mp3", "inner");
    temp.MakeFolder("QZ_TEMP1");

    ASSERT_TRUE(fs().Rename(file, temp / "QZ_TEMP1/a.mp3"));
    ASSERT_TRUE(fs().Rename(folder, temp / "QZ_TEMP1/album"));
    EXPECT_FALSE(fs().FileExists(file));
    EXPECT_EQ(ReadFile(temp / "QZ_TEMP1/a.mp3"), "content");
    EXPECT_EQ(ReadFile(temp / "QZ_TEMP1/album/inside.mp3"), "inner");
}

TEST(Rename, FailsForAMissingSourceNamingIt) {
    TempFolder temp;
    const Status status = fs().Rename(temp / "missing.mp3", temp / "new.mp3");
    EXPECT_EQ(status.code(), ENOENT);
    EXPECT_NE(status.message().find(temp / "missing.mp3"), std::string::npos) << status.message();
    EXPECT_FALSE(fs().FileExists(temp / "new.mp3"));
}

// Stand-ins for renameat2 on file systems that answer in their own way.
int RefusesTheFlag(const char*, const char*) {
    errno = EINVAL;
    return -1;
}
int LacksTheCall(const char*, const char*) {
    errno = ENOSYS;
    return -1;
}
int CrossesVolumes(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

TEST(Rename, FallsBackToCheckAndRenameWhereTheFlagIsRefused) {
    for (RenameNoReplaceCall call : {RefusesTheFlag, LacksTheCall}) {
        TempFolder temp;
        const std::string from = temp.WriteFile("a.mp3", "source");
        const std::string taken = temp.WriteFile("b.mp3", "target");
        EXPECT_EQ(RenameWithoutReplacing(from, taken, call).code(), EEXIST);
        EXPECT_EQ(ReadFile(taken), "target");

        ASSERT_TRUE(RenameWithoutReplacing(from, temp / "c.mp3", call));
        EXPECT_EQ(ReadFile(temp / "c.mp3"), "source");
        EXPECT_FALSE(fs().FileExists(from));
    }
}

TEST(Rename, DanglingLinkCountsAsAnExistingTargetInTheFallback) {
    TempFolder temp;
    const std::string from = temp.WriteFile("a.mp3", "source");
    ASSERT_EQ(::symlink("nowhere", (temp / "link").c_str()), 0);
    EXPECT_EQ(RenameWithoutReplacing(from, temp / "link", RefusesTheFlag).code(), EEXIST);
}

TEST(Rename, ReportsOtherRefusalsWithoutFallingBack) {
    TempFolder temp;
    const std::string from = temp.WriteFile("a.mp3", "source");
    EXPECT_EQ(RenameWithoutReplacing(from, temp / "c.mp3", CrossesVolumes).code(), EXDEV);
    EXPECT_TRUE(fs().FileExists(from));
    EXPECT_FALSE(fs().FileExists(temp / "c.mp3"));
}

TEST(Folders, RemoveFolderRefusesAFolderThatIsNotEmpty) {
    TempFolder temp;
    const std::string folder = temp.MakeFolder("QZ_TEMP1");
    temp.WriteFile("QZ_TEMP1/a.mp3", "x");
    EXPECT_EQ(fs().RemoveFolder(folder).code(), ENOTEMPTY);
    EXPECT_TRUE(fs().FolderExists(folder));

    ASSERT_EQ(::unlink((temp / "QZ_TEMP1/a.mp3").c_str()), 0);
    EXPECT_TRUE(fs().RemoveFolder(folder));
    EXPECT_FALSE(fs().FolderExists(folder));
}

TEST(Folders, CreateFolderFailsNamingThePath) {
    TempFolder temp;
    temp.WriteFile("file", "x");
    const Status underFile = fs().CreateFolder(temp / "file/sub");
    EXPECT_EQ(underFile.code(), ENOTDIR);
    EXPECT_NE(underFile.message().find(temp / "file/sub"), std::string::npos)
        << underFile.message();

    ASSERT_TRUE(fs().CreateFolder(temp / "new"));
    EXPECT_TRUE(fs().FolderExists(temp / "new"));
    EXPECT_EQ(fs().CreateFolder(temp / "new").code(), EEXIST);
}

TEST(Folders, CreateFolderFailsInAReadOnlyFolderAndNamesThePath) {
    TempFolder temp;
    const std::string locked = temp.MakeFolder("locked");
    test::ReadOnlyFolder readOnly(locked);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    const Status status = fs().CreateFolder(locked + "/sub");
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find(locked + "/sub"), std::string::npos) << status.message();
    EXPECT_FALSE(fs().FolderExists(locked + "/sub"));
}

TEST(Folders, ExistenceTellsFilesFromFolders) {
    MixedFolder folder;
    const TempFolder& temp = folder.temp;
    EXPECT_TRUE(fs().FileExists(temp / "song.mp3"));
    EXPECT_FALSE(fs().FolderExists(temp / "song.mp3"));
    EXPECT_TRUE(fs().FolderExists(temp / "sub"));
    EXPECT_FALSE(fs().FileExists(temp / "sub"));
    EXPECT_TRUE(fs().FolderExists(temp / "link-to-sub"));
    EXPECT_FALSE(fs().FileExists(temp / "missing"));
    EXPECT_FALSE(fs().FolderExists(temp / "missing"));
}

TEST(ShortPath, IsEmptyOffFatVolumes) {
    TempFolder temp;
    const std::string file = temp.WriteFile("A long file name.mp3", "x");
    EXPECT_EQ(fs().ShortPath(file), "");
    EXPECT_EQ(fs().ShortPath(temp / "missing.mp3"), "");
    EXPECT_EQ(fs().ShortPath("E:\\MUSIC\\A.MP3"), "");
    EXPECT_EQ(fs().ShortPath(""), "");
}

FileTime FileTimeNow() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto units =
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count() / 100;
    return static_cast<FileTime>(units) + 116444736000000000ULL;
}

TEST(CreationTime, ReadsTheBirthTimeOrFailsSaying) {
    TempFolder temp;
    const FileTime before = FileTimeNow();
    const std::string file = temp.WriteFile("new.mp3", "x");
    FileTime created = 0;
    const Status status = fs().ReadCreationTime(file, created);
    if (status) {
        constexpr FileTime oneSecond = 10'000'000;
        // File systems stamp with a coarse clock that may lag the system clock slightly.
        EXPECT_GE(created + oneSecond, before);
        EXPECT_LE(created, FileTimeNow() + oneSecond);
    } else {
        EXPECT_TRUE(status.code() == ENODATA || status.code() == ENOTSUP) << status.message();
        EXPECT_NE(status.message().find(file), std::string::npos) << status.message();
    }
    EXPECT_EQ(fs().ReadCreationTime(temp / "missing.mp3", created).code(), ENOENT);
}

TEST(CreationTime, WritingFailsNamingTheFile) {
    TempFolder temp;
    const std::string file = temp.WriteFile("a.mp3", "x");
    const Status status = fs().WriteCreationTime(file, FileTimeNow());
    EXPECT_EQ(status.code(), ENOTSUP);
    EXPECT_NE(status.message().find(file), std::string::npos) << status.message();
    EXPECT_NE(status.message().find("cannot set"), std::string::npos) << status.message();

    const Status missing = fs().WriteCreationTime(temp / "missing.mp3", FileTimeNow());
    EXPECT_EQ(missing.code(), ENOENT);
    EXPECT_NE(missing.message().find(temp / "missing.mp3"), std::string::npos);
}

// The copy that makes a track anew stands for it: same bytes, times and permissions, and it
// never takes the place of anything.
TEST(CopyFile, MakesACopyThatStandsForTheFileAndNeverReplaces) {
    TempFolder temp;
    std::string content(300 * 1024, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 31 % 251);
    }
    const std::string file = temp.WriteFile("a.mp3", content);
    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    const struct timespec times[2] = {{1'000'000'000, 0}, {1'100'000'000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    ASSERT_TRUE(fs().SetsCreationTimes() == false);
    ASSERT_TRUE(fs().CopyFile(file, temp / "0.qz_copy"));
    EXPECT_EQ(ReadFile(temp / "0.qz_copy"), content);
    struct stat info {};
    ASSERT_EQ(::stat((temp / "0.qz_copy").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604U);
    EXPECT_EQ(info.st_mtim.tv_sec, 1'100'000'000);
    std::uint64_t size = 0;
    ASSERT_TRUE(fs().ReadFileSize(temp / "0.qz_copy", size));
    EXPECT_EQ(size, content.size());

    temp.WriteFile("taken.mp3", "mine");
    EXPECT_EQ(fs().CopyFile(file, temp / "taken.mp3").code(), EEXIST);
    EXPECT_EQ(ReadFile(temp / "taken.mp3"), "mine");
    // A copy that cannot be made leaves nothing behind.
    EXPECT_EQ(fs().CopyFile(temp / "missing.mp3", temp / "1.qz_copy").code(), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(temp / "1.qz_copy"));
}

TEST(RemoveFile, RemovesFilesButNoFolder) {
    TempFolder temp;
    const std::string file = temp.WriteFile("a.mp3", "x");
    temp.MakeFolder("Album");
    EXPECT_TRUE(fs().Flush(temp.path()));
    EXPECT_EQ(fs().RemoveFile(temp / "Album").code(), EISDIR);
    EXPECT_TRUE(fs().FolderExists(temp / "Album"));
    EXPECT_TRUE(fs().RemoveFile(file));
    EXPECT_FALSE(fs().FileExists(file));
    const Status missing = fs().RemoveFile(file);
    EXPECT_EQ(missing.code(), ENOENT);
    EXPECT_NE(missing.message().find(file), std::string::npos);
    EXPECT_EQ(fs().Flush(temp / "missing").code(), ENOENT);
}

TEST(ProcessPaths, AreAbsoluteAndExist) {
    const std::string program = fs().ProgramPath();
    EXPECT_TRUE(program.ends_with("/platform_tests")) << program;
    EXPECT_TRUE(fs().FileExists(program));
    EXPECT_EQ(fs().CurrentFolder(), std::filesystem::current_path().string());
}

dev_t DeviceOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_dev;
}

TEST(VolumeOf, IsTheMountPointHoldingThePath) {
    TempFolder temp;
    const std::string file = temp.WriteFile("a.mp3", "x");
    const std::string volume = fs().VolumeOf(file);
    ASSERT_FALSE(volume.empty());
    // Told apart without the mount table: the volume's folder is on the file's device and
    // its parent is not, unless it is the root.
    EXPECT_EQ(DeviceOf(volume), DeviceOf(file));
    if (volume != "/") {
        EXPECT_NE(DeviceOf(volume + "/.."), DeviceOf(volume)) << volume;
    }
    EXPECT_EQ(fs().VolumeOf("/proc/self"), "/proc");
}

TEST(VolumeOf, OfAPathNotYetCreatedIsThatOfItsNearestFolder) {
    TempFolder temp;
    EXPECT_EQ(fs().VolumeOf(temp / "new/deeper/a.mp3"), fs().VolumeOf(temp.path()));
    EXPECT_EQ(fs().VolumeOf("/proc/no/such/entry"), "/proc");
}

TEST(VolumeOf, IsEmptyForARelativePathThatDoesNotExist) {
    EXPECT_EQ(fs().VolumeOf("E:\\"), "");
    EXPECT_EQ(fs().VolumeOf(""), "");
}

TEST(Volumes, AreSortedRealVolumesWithoutPseudoFileSystems) {
    const std::vector<Volume> volumes = fs().Volumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().mountPoint, "/");
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_NE(volumes[i].fileSystemType, "proc");
        EXPECT_NE(volumes[i].fileSystemType, "sysfs");
        EXPECT_NE(volumes[i].fileSystemType, "devpts");
        if (i > 0) {
            EXPECT_LT(volumes[i - 1].mountPoint, volumes[i].mountPoint);
        }
    }
}

TEST(MountTable, ParsesOptionalFieldsAndEscapes) {
    const std::vector<Volume> mounts = ParseMountInfo(
        "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
        "90 27 8:17 / /media/user/MY\\040PLAYER rw,nosuid shared:5 master:2 - vfat /dev/sdb1 rw\n"
        "garbage line\n"
        "91 27 0:40 / /mnt/back\\134slash rw - fuse.fusefat fusefat rw");
    ASSERT_EQ(mounts.size(), 3U);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[1].mountPoint, "/media/user/MY PLAYER");
    EXPECT_EQ(mounts[1].fileSystemType, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/back\\slash");
    EXPECT_EQ(mounts[2].fileSystemType, "fuse.fusefat");
}

TEST(MountTable, MatchesWholeComponentsAndTheTopOfStackedMounts) {
    const std::vector<Volume> mounts = {
        {"/", "ext4", "/dev/vda"},
        {"/mnt/a", "vfat", "/dev/sdb1"},
        {"/mnt/a", "vfat", "/dev/sdc1"},
    };
    EXPECT_EQ(MountPointFor(mounts, "/mnt/ab/x"), "/");
    EXPECT_EQ(MountPointFor(mounts, "/mnt/a"), "/mnt/a");
    EXPECT_EQ(MountPointFor(mounts, "/mnt/a/x"), "/mnt/a");
    EXPECT_EQ(MountPointFor(mounts, "relative"), "");
}

TEST(FatImage, EnumerateGivesDirectoryEntryOrderAfterRenames) {
    if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    TempFolder temp;
    test::FatImage fat(temp);
    // Short names in capitals, as older players write them; a hole where one was deleted.
    ASSERT_TRUE(fat.Write("", {{"01.MP3", ""},
                               {"02.MP3", ""},
                               {"03.MP3", ""},
                               {"04.MP3", ""},
                               {"05.MP3", ""},
                               {"06.MP3", ""}}));
    ASSERT_TRUE(fat.Remove("03.MP3"));
    if (!fat.Mount()) {
        GTEST_SKIP() << "fusefat cannot mount here";
    }
    const std::string root = fat.mountPoint();
    const auto at = [&](const std::string& name) { return root + "/" + name; };
    // fusefat refuses the no-replace flag, so these go through the fallback.
    EXPECT_EQ(fs().Rename(at("01.MP3"), at("02.MP3")).code(), EEXIST);
    ASSERT_TRUE(fs().Rename(at("01.MP3"), at("z.mp3")));
    ASSERT_TRUE(fs().Rename(at("04.MP3"), at("a.mp3")));
    ASSERT_TRUE(fs().Rename(at("06.MP3"), at("m.mp3")));

    EXPECT_EQ(fs().VolumeOf(at("m.mp3")), root);
    const std::vector<Volume> volumes = fs().Volumes();
    EXPECT_TRUE(std::any_of(volumes.begin(), volumes.end(),
                            [&](const Volume& volume) { return volume.mountPoint == root; }));

    // fusefat keeps no birth time and is not the kernel's vfat driver.
    FileTime created = 0;
    const Status noBirthTime = fs().ReadCreationTime(at("m.mp3"), created);
    EXPECT_EQ(noBirthTime.code(), ENODATA) << noBirthTime.message();
    EXPECT_EQ(fs().ShortPath(at("m.mp3")), "");

    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(fs().Enumerate(root, EnumerateFilter::FilesOnly, false, entries));
    std::vector<std::string> listed = NamesOf(entries);
    // fusefat lists the volume label as if it were a file.
    std::erase(listed, "PLAYER");
    fat.Unmount();
    EXPECT_EQ(listed, fat.EntryOrder()["/"]);
}

} // namespace
} // namespace tralvo
