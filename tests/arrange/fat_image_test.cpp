// The Tralvo command on a real FAT file system: a FAT32 image mounted in user space with
// fusefat, rewritten through the program's own file system, then read back from the image by
// programs of their own: fatsort for the directory-entry order, fsck.vfat for consistency and
// mtools for every file's content.
//
// fusefat cannot move a folder (the folder arrives empty and a cluster is lost), so folders
// with contents stay out of the images; their moves are tested on /tmp at the end.
#include "arrange/track_loading.h"
#include "arrange/track_ordering.h"
#include "arrange/tralvo_command.h"
#include "arrange_test_support.h"
#include "support/fat_image.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;
using Files = std::map<std::string, std::string>; // relative path -> content

Names Displays(const TrackList& tracks) {
    Names names;
    for (const TrackEntry& entry : tracks) {
        names.push_back(entry.display);
    }
    return names;
}

// A fixed permutation of n positions that moves nearly every one.
std::vector<std::size_t> Scrambled(std::size_t n) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < n; ++i) {
        order.push_back((i * 7 + 3) % n); // 7 shares no factor with the counts used here
    }
    return order;
}

class FatImageTest : public testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        ASSERT_TRUE(image.made());
        ASSERT_TRUE(image.Mount()) << "fusefat did not mount " << image.image();
    }

    // folder is relative to the image's root: "" for the root, else "Music/Best Of/".
    void Folder(const std::string& folder) {
        std::error_code error;
        stdfs::create_directories(image / folder, error);
        ASSERT_FALSE(error) << folder << ": " << error.message();
    }
    void Put(const std::string& path, const std::string& content) {
        test::WriteWholeFile(image / path, content);
        written[path] = content;
    }
    void Track(const std::string& folder, const std::string& name, test::Id3v1Fields tags = {}) {
        if (tags.title.empty()) {
            tags.title = name;
        }
        Put(folder + name, test::TaggedMp3(tags, 1 + written.size() % 4));
    }

    // The folder's names in directory-entry order as fatsort reads them from the image.
    Names OrderOnDisk(const std::string& folder) {
        EXPECT_TRUE(image.Unmount());
        Names order = image.EntryOrder()["/" + folder];
        EXPECT_TRUE(image.Mount());
        return order;
    }

    TrackList Load(std::uint8_t type, const std::string& folder) {
        return LoadTracks(image / folder, type, false, SystemFileSystem());
    }

    // The command's core: the strategy, the reload, the comparison; no error box is expected.
    TrackList Run(std::uint8_t type, const std::string& folder, const TrackList& arranged) {
        ArrangeRun run{SystemFileSystem(), messages, progress, "MainForm"};
        RunStrategy(type, image / folder, arranged, run);
        TrackList reloaded = Load(type, folder);
        ReportWhenOrderDiffers(arranged.Text(), reloaded, run);
        EXPECT_TRUE(messages.asked.empty()) << testing::PrintToString(messages.TextKeys());
        return reloaded;
    }

    // Directory order: the folder's other entries first in their old order, then the tracks.
    void ExpectDirectoryOrderRun(const std::string& folder, const TrackList& arranged) {
        const Names before = OrderOnDisk(folder);
        const TrackList reloaded = Run(0, folder, arranged);
        EXPECT_EQ(Displays(reloaded), Displays(arranged));
        EXPECT_EQ(progress.maximum, static_cast<int>(3 * arranged.size()));

        Names expected;
        const Names tracks = Displays(arranged);
        std::copy_if(before.begin(), before.end(), std::back_inserter(expected),
                     [&](const std::string& name) {
                         return std::find(tracks.begin(), tracks.end(), name) == tracks.end();
                     });
        expected.insert(expected.end(), tracks.begin(), tracks.end());
        ExpectImageIntact(written);
        EXPECT_EQ(image.EntryOrder()["/" + folder], expected);
    }

    // Read from the image itself once fusefat has written everything out: consistent, and
    // every file there with its content.
    void ExpectImageIntact(const Files& files) {
        ASSERT_TRUE(image.Unmount());
        const test::ProcessResult check = image.Check();
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
        const std::string copy = temp.MakeFolder("copy");
        const test::ProcessResult copied = image.CopyOut(copy);
        ASSERT_EQ(copied.exitCode, 0) << copied.err;
        EXPECT_EQ(test::Differences(files, test::FilesBelow(copy)), Names{});
    }

    test::TempFolder temp;
    test::FatImage image{temp};
    test::ScriptedMessages messages;
    test::RecordedProgress progress;
    Files written;
};

TEST_F(FatImageTest, RootFolderWithLongDottedAndHiddenNamesTakesTheArrangedOrder) {
    // Other entries between the tracks, so that putting them first shows.
    Put("notes.txt", "notes");
    Track("", "A rather long file name that needs several directory entries.mp3");
    Track("", "Live at the Club.2004.remastered.mp3");
    Put(".hidden settings", "settings");
    Track("", ".hidden track.mp3");
    Track("", "short.MP3");
    Put("cover.front.jpg", "jpeg");
    Track("", "x.y.wav");

    TrackList tracks = Load(0, "");
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({4, 2, 0, 3, 1});
    ExpectDirectoryOrderRun("", tracks);
}

TEST_F(FatImageTest, NestedFolderTakesTheOrderOfASortByTags) {
    Folder("Music/Best Of/");
    Put("Music/readme.txt", "beside the folder");
    const std::string folder = "Music/Best Of/";
    Track(folder, "one.mp3", {.title = "Zebra", .artist = "Beta", .album = "Xenon"});
    Put(folder + "folder.jpg", "jpeg");
    Track(folder, "two.mp3", {.title = "Apple", .artist = "alpha", .album = "Yarn"});
    Track(folder, "three.mp3", {.title = "Moon", .artist = "ALPHA", .album = "Xenon"});
    Put(folder + "untagged.mp3", test::UntaggedMp3(3));
    Track(folder, "four.mp3", {.title = "Kite", .artist = "Beta", .album = "Xenon"});
    const Names musicBefore = OrderOnDisk("Music/");

    TrackList tracks = Load(0, folder);
    // As the sort button does: artist, album, title, untagged tracks first.
    SortTrackList(tracks, {2, 3, 1}, false, true);
    ASSERT_EQ(Displays(tracks),
              (Names{"untagged.mp3", "three.mp3", "two.mp3", "four.mp3", "one.mp3"}));
    ExpectDirectoryOrderRun(folder, tracks);
    EXPECT_EQ(image.EntryOrder()["/Music/"], musicBefore);
}

class FatImageCountTest : public FatImageTest, public testing::WithParamInterface<std::size_t> {};

TEST_P(FatImageCountTest, FolderTakesAScrambledOrder) {
    const std::size_t count = GetParam();
    const std::string folder = "MUSIC/";
    Folder(folder);
    Names names;
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back("Track " + std::to_string(i + 1) + ".mp3");
        Track(folder, names.back());
        if (i == count / 2) {
            Put(folder + "playlist.m3u", "#EXTM3U");
        }
    }
    TrackList tracks = Load(0, folder);
    ASSERT_EQ(Displays(tracks), names);
    tracks.Reorder(Scrambled(count));
    ExpectDirectoryOrderRun(folder, tracks);
}

INSTANTIATE_TEST_SUITE_P(Counts, FatImageCountTest, testing::Values(1, 9, 10, 120));

// fusefat gives every name a long entry: names of up to 13 characters take two slots, longer
// ones three or more. A new entry takes the first free run big enough, so a two-slot hole
// near the folder's start draws the next short name there, ahead of entries moved back
// before it. The other entry and the first track moved back have long names, so that only a
// later short track can fall into such a hole.
class FatImageHoleTest : public FatImageTest {
protected:
    void PutFolder(const std::string& first) {
        Folder(folder);
        if (!first.empty()) {
            Put(folder + first, "the folder's first entry");
        }
        Put(folder + "Liner notes of the album.txt", "notes");
        for (const char* name : {"a.mp3", "Long track number one.mp3", "b.mp3",
                                 "Long track number two.mp3", "c.mp3"}) {
            Track(folder, name);
        }
    }

    const std::string folder = "MUSIC/";
};

TEST_F(FatImageHoleTest, SecondRunWithShortAndLongNamesMixedTakesTheArrangedOrder) {
    PutFolder("");
    TrackList tracks = Load(0, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({3, 0, 1, 4, 2}); // Long two, a, Long one, c, b
    ExpectDirectoryOrderRun(folder, tracks);
    stdfs::remove_all(temp / "copy"); // the first check's copy of the image
    ASSERT_TRUE(image.Mount());
    tracks = Load(0, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({2, 4, 0, 1, 3}); // Long one, b, Long two, a, c
    ExpectDirectoryOrderRun(folder, tracks);
}

TEST_F(FatImageHoleTest, FolderWhoseFirstEntryWasDeletedTakesTheArrangedOrder) {
    PutFolder("old.mp3");
    ASSERT_TRUE(stdfs::remove(image / (folder + "old.mp3")));
    written.erase(folder + "old.mp3");
    TrackList tracks = Load(0, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({1, 0, 3, 4, 2}); // Long one, a, Long two, c, b
    ExpectDirectoryOrderRun(folder, tracks);
}

TEST_F(FatImageTest, FileNameRunGivesPrefixedNamesThatReloadInListOrder) {
    const Names onDisk = {"{07}x.mp3", "b song.mp3", "a.b.c.mp3", ".dot.mp3", "{}odd.mp3", "c.mp3",
                          "d.mp3",     "e.mp3",      "f.mp3",     "g.mp3",    "h.mp3",     "i.mp3"};
    Put("notes.txt", "notes");
    for (const std::string& name : onDisk) {
        Track("", name);
    }
    TrackList tracks = Load(1, "");
    ASSERT_EQ(tracks.size(), onDisk.size());
    tracks.Reorder(Scrambled(tracks.size()));
    const TrackList reloaded = Run(1, "", tracks);
    EXPECT_EQ(Displays(reloaded), Displays(tracks));

    // The old prefix is replaced, two digits for twelve tracks; contents follow their names.
    const Names shown = Displays(reloaded);
    ASSERT_NE(std::find(shown.begin(), shown.end(), "x.mp3"), shown.end());
    Names expected = {"notes.txt"};
    Files files = {{"notes.txt", "notes"}};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const std::string name =
            (i < 9 ? "{0" : "{") + std::to_string(i + 1) + "}" + tracks[i].display;
        EXPECT_EQ(reloaded[i].file->FileName(), image / name);
        expected.push_back(name);
        const std::string old = tracks[i].file->FileName().substr(image.mountPoint().size() + 1);
        files[name] = written.at(old);
    }
    ExpectImageIntact(files);
    // Players of this kind sort by name, so the entries' order does not matter.
    Names order = image.EntryOrder()["/"];
    std::sort(order.begin(), order.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(order, expected);
}

// What fusefat cannot show: folders moved out and back keep everything in them.
TEST(FolderMovesOffFat, SubfoldersKeepTheirContentsThroughADirectoryOrderRun) {
    test::TempFolder folder;
    folder.WriteFile("b.mp3", test::TaggedMp3({.title = "b"}));
    folder.MakeFolder("Album/Disc 1");
    folder.WriteFile("Album/Disc 1/01.mp3", test::TaggedMp3({.title = "inner"}));
    folder.WriteFile("Album/cover.jpg", "jpeg");
    folder.MakeFolder(".thumbnails");
    folder.WriteFile(".thumbnails/b.png", "png");
    folder.MakeFolder("Live.mp3"); // a folder, not a track, whatever its name
    folder.WriteFile("Live.mp3/set.mp3", test::UntaggedMp3());
    folder.WriteFile("a.mp3", test::TaggedMp3({.title = "a"}));
    const Files before = test::FilesBelow(folder.path());

    test::DirectoryOrderFileSystem fs;
    TrackList tracks = LoadTracks(folder.path(), 0, false, fs);
    ASSERT_EQ(tracks.size(), 2U);
    tracks.Reorder({1, 0});
    test::ScriptedMessages messages;
    test::RecordedProgress progress;
    ArrangeRun run{fs, messages, progress, "MainForm"};
    RunStrategy(0, folder.path() + "/", tracks, run);

    EXPECT_TRUE(messages.asked.empty()) << testing::PrintToString(messages.TextKeys());
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_EQ(Displays(LoadTracks(folder.path(), 0, false, fs)), Displays(tracks));
}

} // namespace
} // namespace tralvo
