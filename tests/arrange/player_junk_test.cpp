// What computers leave in a player folder: found with its sizes, and removed for good without
// touching anything else.
#include "arrange/player_junk.h"
#include "arrange_test_support.h"
#include "platform/paths.h"
#include "support/apple_double_file.h"
#include "support/fat_image.h"
#include "support/read_only_folder.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;

// A player folder with one of every kind of junk, things that only look like it, and
// things outside that links inside point at.
struct JunkyFolder {
    JunkyFolder() {
        player = temp.MakeFolder("player");
        outside = temp.MakeFolder("outside");
        test::WriteWholeFile(outside + "/keep.mp3", "outside");
        stdfs::create_directory(outside + "/folder");
        Put("Song.mp3", test::UntaggedMp3());
        Put("._Song.mp3", test::AppleDoubleContent());
        Put("._real.mp3", test::UntaggedMp3(2)); // audio under a companion's name
        Put("desktop.ini", "123456");
        Put("Thumbs.db", "abc");
        Put(".TemporaryItems", "a file, not the folder");
        Put("notes.txt", "notes");
        Folder(".Trashes");
        Folder(".Trashes/501");
        Put(".Trashes/501/deleted.mp3", "0123456789");
        Put(".Trashes/b", "12345");
        stdfs::create_directory_symlink(outside + "/folder", player + "/.Trashes/501/away");
        stdfs::create_symlink(outside + "/keep.mp3", player + "/.Trashes/song");
        Folder(".fseventsd");
        Folder("._folder");
        Folder("Album");
        Put("Album/.DS_Store", "in a subfolder");
        // Links under junk names lead out of the folder: never followed, never junk.
        stdfs::create_symlink(outside + "/keep.mp3", player + "/.DS_Store");
        stdfs::create_directory_symlink(outside + "/folder", player + "/.Spotlight-V100");
    }
    void Put(const std::string& name, const std::string& content) const {
        test::WriteWholeFile(player + "/" + name, content);
    }
    void Folder(const std::string& name) const { stdfs::create_directory(player + "/" + name); }
    std::string operator/(const std::string& name) const { return player + "/" + name; }

    test::TempFolder temp;
    std::string player;
    std::string outside;
};

std::map<std::string, std::pair<bool, std::uint64_t>> ByName(const std::vector<JunkEntry>& junk) {
    std::map<std::string, std::pair<bool, std::uint64_t>> found;
    for (const JunkEntry& entry : junk) {
        found[entry.name] = {entry.isFolder, entry.size};
    }
    return found;
}

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Pretends the folder's volume folds letter case, as FAT and exFAT do.
class FoldingCase : public test::ForwardingFileSystem {
public:
    bool FoldsCase(const std::string&) override { return true; }
};

// Fails the removal of every file of the given name.
class RefusingRemoval : public test::ForwardingFileSystem {
public:
    explicit RefusingRemoval(std::string name) : name_(std::move(name)) {}
    Status RemoveFile(const std::string& path) override {
        if (BaseName(path) == name_) {
            return Status::Failure(EACCES, "remove " + path + ": Permission denied");
        }
        return ForwardingFileSystem::RemoveFile(path);
    }

private:
    std::string name_;
};

TEST(PlayerJunk, FindsEachKindWithItsSizeAndNothingElse) {
    const JunkyFolder f;
    const std::vector<JunkEntry> junk = FindPlayerJunk(f.player, SystemFileSystem());
    const std::uint64_t companion = test::AppleDoubleContent().size();
    // .Trashes: two files, a link to a file (its target's path) and one to a folder.
    const std::uint64_t trash =
        10 + 5 + (f.outside + "/keep.mp3").size() + (f.outside + "/folder").size();
    using Found = std::map<std::string, std::pair<bool, std::uint64_t>>;
    EXPECT_EQ(ByName(junk), (Found{{"._Song.mp3", {false, companion}},
                                   {"desktop.ini", {false, 6}},
                                   {"Thumbs.db", {false, 3}},
                                   {".Trashes", {true, trash}},
                                   {".fseventsd", {true, 0}}}));
    EXPECT_EQ(TotalSize(junk), companion + 6 + 3 + trash);
    EXPECT_TRUE(HoldsPlayerJunk(f.player, SystemFileSystem()));
    EXPECT_TRUE(HoldsPlayerJunk(f / "Album", SystemFileSystem()));
    EXPECT_FALSE(HoldsPlayerJunk(f.outside, SystemFileSystem()));
    EXPECT_TRUE(FindPlayerJunk(f / "missing", SystemFileSystem()).empty());
}

TEST(PlayerJunk, OtherLetterCaseCountsOnlyWhereTheVolumeFoldsCase) {
    test::TempFolder folder;
    folder.WriteFile(".ds_store", "x");
    folder.WriteFile("THUMBS.DB", "x");
    folder.MakeFolder(".trashes");
    EXPECT_TRUE(FindPlayerJunk(folder.path(), SystemFileSystem()).empty());
    FoldingCase fat;
    Names names;
    for (const JunkEntry& entry : FindPlayerJunk(folder.path(), fat)) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(Sorted(names), Sorted({".ds_store", ".trashes", "THUMBS.DB"}));
}

TEST(PlayerJunk, RemovalTakesTheListedEntriesAndLeavesEverythingElse) {
    const JunkyFolder f;
    const JunkRemoval result = RemovePlayerJunk(
        f.player, FindPlayerJunk(f.player, SystemFileSystem()), SystemFileSystem());
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(Sorted(result.removed),
              Sorted({"._Song.mp3", "desktop.ini", ".Trashes", ".fseventsd", "Thumbs.db"}));
    Names left;
    for (const auto& entry : stdfs::recursive_directory_iterator(f.player)) {
        left.push_back(entry.path().lexically_relative(f.player).string());
    }
    EXPECT_EQ(Sorted(left),
              Sorted({"._folder", "._real.mp3", ".Spotlight-V100", ".TemporaryItems", "Album",
                      "Album/.DS_Store", "Song.mp3", ".DS_Store", "notes.txt"}));
    EXPECT_EQ(test::ReadFile(f.outside + "/keep.mp3"), "outside");
    EXPECT_TRUE(stdfs::is_directory(f.outside + "/folder"));
    EXPECT_TRUE(FindPlayerJunk(f.player, SystemFileSystem()).empty());
}

TEST(PlayerJunk, EachEntryIsLookedAtAgainJustBeforeItGoes) {
    const JunkyFolder f;
    std::vector<JunkEntry> junk = FindPlayerJunk(f.player, SystemFileSystem());
    f.Put("._Song.mp3", test::UntaggedMp3()); // now audio
    stdfs::remove(f / "desktop.ini");
    stdfs::remove(f / "Thumbs.db");
    f.Folder("Thumbs.db"); // now a folder
    stdfs::remove(f / ".fseventsd");
    stdfs::create_directory_symlink(f.outside + "/folder", f / ".fseventsd"); // now a link
    // Entries no list of junk holds: never removed, even when handed in.
    junk.push_back({"notes.txt", false, 0});
    junk.push_back({"../outside/keep.mp3", false, 0});
    junk.push_back({"..", true, 0});
    junk.push_back({"Album", true, 0});

    const JunkRemoval result = RemovePlayerJunk(f.player, junk, SystemFileSystem());
    EXPECT_EQ(result.removed, Names{".Trashes"});
    EXPECT_EQ(result.gone, Names{"desktop.ini"});
    Names kept;
    for (const JunkKept& entry : result.kept) {
        EXPECT_EQ(entry.reason, JunkKept::Reason::Changed) << entry.name;
        kept.push_back(entry.name);
    }
    EXPECT_EQ(Sorted(kept), Sorted({"..", "../outside/keep.mp3", "._Song.mp3", ".fseventsd",
                                    "Album", "Thumbs.db", "notes.txt"}));
    EXPECT_FALSE(result.complete());
    for (const char* name : {"._Song.mp3", "Thumbs.db", ".fseventsd", "notes.txt", "Album"}) {
        EXPECT_TRUE(stdfs::exists(stdfs::symlink_status(f / name))) << name;
    }
    EXPECT_EQ(test::ReadFile(f.outside + "/keep.mp3"), "outside");
    EXPECT_TRUE(stdfs::is_directory(f.outside + "/folder"));
}

TEST(PlayerJunk, AFailedRemovalIsReportedAndTheOthersGoOn) {
    const JunkyFolder f;
    RefusingRemoval fs("desktop.ini");
    const JunkRemoval result = RemovePlayerJunk(f.player, FindPlayerJunk(f.player, fs), fs);
    ASSERT_EQ(result.kept.size(), 1U);
    EXPECT_EQ(result.kept[0].name, "desktop.ini");
    EXPECT_EQ(result.kept[0].reason, JunkKept::Reason::NotRemoved);
    EXPECT_EQ(result.kept[0].status.code(), EACCES);
    EXPECT_EQ(Sorted(result.removed),
              Sorted({"._Song.mp3", ".Trashes", ".fseventsd", "Thumbs.db"}));
}

TEST(PlayerJunk, AFolderThatCannotBeEmptiedIsKeptWithTheReason) {
    const JunkyFolder f;
    const test::ReadOnlyFolder readOnly(f / ".Trashes/501");
    if (!readOnly.active()) {
        GTEST_SKIP() << "this system cannot make a folder read-only";
    }
    const JunkRemoval result = RemovePlayerJunk(
        f.player, FindPlayerJunk(f.player, SystemFileSystem()), SystemFileSystem());
    ASSERT_EQ(result.kept.size(), 1U);
    EXPECT_EQ(result.kept[0].name, ".Trashes");
    EXPECT_EQ(result.kept[0].reason, JunkKept::Reason::NotRemoved);
    EXPECT_FALSE(result.kept[0].status.message().empty());
    EXPECT_EQ(result.removed.size(), 4U);
    EXPECT_TRUE(stdfs::exists(f / ".Trashes/501/deleted.mp3"));
}

TEST(PlayerJunkOnFat, NamesInAnyCaseGoAndTheImageStaysConsistent) {
    if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const test::TempFolder temp;
    test::FatImage image(temp);
    ASSERT_TRUE(image.made());
    ASSERT_TRUE(image.Write("", {{"Song.mp3", test::UntaggedMp3()},
                                 {"._Song.mp3", test::AppleDoubleContent()},
                                 {".ds_store", "x"},
                                 {"THUMBS.DB", "yy"},
                                 {"._Live.mp3", test::UntaggedMp3(2)}}));
    ASSERT_TRUE(image.Mount());
    const std::vector<JunkEntry> junk = FindPlayerJunk(image.mountPoint(), SystemFileSystem());
    Names names;
    for (const JunkEntry& entry : junk) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (Names{"._Song.mp3", ".ds_store", "THUMBS.DB"}));
    EXPECT_TRUE(RemovePlayerJunk(image.mountPoint(), junk, SystemFileSystem()).complete());
    ASSERT_TRUE(image.Unmount());
    const test::ProcessResult check = image.Check();
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    EXPECT_EQ(image.EntryOrder()["/"], (Names{"Song.mp3", "._Live.mp3"}));
}

} // namespace
} // namespace tralvo
