// The Tralvo command on a real FAT file system: a FAT32 image filled with mtools, mounted in
// user space with fusefat, rewritten through the program's own file system, then read back
// from the image by programs of their own: fatsort for the directory-entry order, fsck.vfat
// for consistency and mtools for every file's content.
//
// fusefat cannot move a folder (the folder arrives empty and a cluster is lost), so folders
// with contents stay out of the folders arranged here; their moves are tested on /tmp at the
// end and on the kernel's vfat driver by the kernel bench's directory-order case.
#include "arrange/track_loading.h"
#include "arrange/track_ordering.h"
#include "arrange_test_support.h"
#include "support/apple_double_file.h"
#include "support/fat_image.h"
#include "support/strategy_order_check.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest-spi.h>
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
    }

    // Put and Track only note the files: the image is filled with mtools, in the order they
    // were put, just before it is first read. folder is relative to the image's root: "" for
    // the root, else "Music/Best Of/", made one level at a time.
    void Folder(const std::string& folder) { ASSERT_TRUE(image.MakeFolder(folder)); }
    void Put(const std::string& path, const std::string& content) {
        const std::size_t slash = path.rfind('/') + 1; // 0 when there is none
        const std::string folder = path.substr(0, slash);
        auto pending = std::find_if(unwritten.begin(), unwritten.end(),
                                    [&](const auto& files) { return files.first == folder; });
        if (pending == unwritten.end()) {
            pending = unwritten.emplace(unwritten.end(), folder, test::NamedContents{});
        }
        pending->second.emplace_back(path.substr(slash), content);
        written[path] = content;
    }
    void Track(const std::string& folder, const std::string& name, test::Id3v1Fields tags = {}) {
        if (tags.title.empty()) {
            tags.title = name;
        }
        Put(folder + name, test::TaggedMp3(tags, 1 + written.size() % 4));
    }

    // Writes what was put into the unmounted image.
    void WritePutFiles() {
        for (const auto& [folder, files] : unwritten) {
            EXPECT_TRUE(image.Write(folder, files));
        }
        unwritten.clear();
    }
    void Delete(const std::string& path) {
        WritePutFiles();
        ASSERT_TRUE(image.Remove(path));
        written.erase(path);
    }
    void EnsureMounted() {
        if (!image.mounted()) {
            WritePutFiles();
            EXPECT_TRUE(image.Mount()) << "fusefat did not mount " << image.image();
        }
    }

    // The folder's names in directory-entry order as fatsort reads them from the image.
    Names OrderOnDisk(const std::string& folder) {
        EXPECT_TRUE(image.Unmount());
        WritePutFiles();
        Names order = image.EntryOrder()["/" + folder];
        EnsureMounted();
        return order;
    }

    TrackList Load(PlayerType type, const std::string& folder) {
        EnsureMounted();
        return LoadTracks(image / folder, {type}, SystemFileSystem());
    }

    // The command's core: the strategy, the reload, the comparison; no error box is expected.
    TrackList Run(PlayerType type, const std::string& folder, const TrackList& arranged) {
        ArrangeRun run{SystemFileSystem(), failures, progress};
        RunStrategy(type, image / folder, arranged, run);
        TrackList reloaded = Load(type, folder);
        test::ReportWhenOrderDiffers(arranged.Text(), reloaded, run);
        EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
        return reloaded;
    }

    // Directory order: the folder's other entries first in their old order, then the tracks.
    void ExpectDirectoryOrderRun(const std::string& folder, const TrackList& arranged) {
        const Names before = OrderOnDisk(folder);
        const TrackList reloaded = Run(PlayerType::DirectoryOrder, folder, arranged);
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
    test::RecordedFailures failures;
    test::RecordedProgress progress;
    Files written;
    std::vector<std::pair<std::string, test::NamedContents>> unwritten; // by folder
};

TEST_F(FatImageTest, RootFolderWithLongDottedAndHiddenNamesTakesTheArrangedOrder) {
    // Other entries between the tracks, so that putting them first shows.
    Put("Notes.txt", "notes");
    Track("", "A rather long file name that needs several directory entries.mp3");
    Track("", "Live at the Club.2004.remastered.mp3");
    Put(".hidden settings", "settings");
    Track("", ".hidden track.mp3");
    Track("", "Short.MP3");
    Put("cover.front.jpg", "jpeg");
    Track("", "x.y.wav");

    TrackList tracks = Load(PlayerType::DirectoryOrder, "");
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({4, 2, 0, 3, 1});
    ExpectDirectoryOrderRun("", tracks);
}

TEST_F(FatImageTest, MacCompanionsMoveAsOtherEntriesNotAsTracks) {
    Track("", "Song One.mp3");
    Put("._Song One.mp3", test::AppleDoubleContent());
    Track("", "Song Two.mp3");
    Put("._Song Two.mp3", test::AppleDoubleContent());
    Put("._Live Take.mp3", test::UntaggedMp3(2)); // real audio under a companion's name

    TrackList tracks = Load(PlayerType::DirectoryOrder, "");
    ASSERT_EQ(Displays(tracks), (Names{"Song One.mp3", "Song Two.mp3", "._Live Take.mp3"}));
    tracks.Reorder({2, 1, 0});
    ExpectDirectoryOrderRun("", tracks);
}

TEST_F(FatImageTest, NestedFolderTakesTheOrderOfASortByTags) {
    Folder("Music/");
    Folder("Music/Best Of/");
    Put("Music/Readme.txt", "beside the folder");
    const std::string folder = "Music/Best Of/";
    Track(folder, "One.mp3", {.title = "Zebra", .artist = "Beta", .album = "Xenon"});
    Put(folder + "Folder.jpg", "jpeg");
    Track(folder, "Two.mp3", {.title = "Apple", .artist = "alpha", .album = "Yarn"});
    Track(folder, "Three.mp3", {.title = "Moon", .artist = "ALPHA", .album = "Xenon"});
    Put(folder + "Untagged.mp3", test::UntaggedMp3(3));
    Track(folder, "Four.mp3", {.title = "Kite", .artist = "Beta", .album = "Xenon"});
    const Names musicBefore = OrderOnDisk("Music/");

    TrackList tracks = Load(PlayerType::DirectoryOrder, folder);
    // As the sort button does: artist, album, title, untagged tracks first.
    SortTrackList(tracks, {media::SortKey::Artist, media::SortKey::Album, media::SortKey::Title},
                  false, true);
    ASSERT_EQ(Displays(tracks),
              (Names{"Untagged.mp3", "Three.mp3", "Two.mp3", "Four.mp3", "One.mp3"}));
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
            Put(folder + "Playlist.m3u", "#EXTM3U");
        }
    }
    TrackList tracks = Load(PlayerType::DirectoryOrder, folder);
    ASSERT_EQ(Displays(tracks), names);
    tracks.Reorder(Scrambled(count));
    ExpectDirectoryOrderRun(folder, tracks);
}

INSTANTIATE_TEST_SUITE_P(Counts, FatImageCountTest, testing::Values(1, 9, 10, 120));

// Every name here takes a long entry, as fusefat gives one to every name it writes: names of
// up to 13 characters take two slots, longer ones three or more. A new entry takes the first free
// run big enough, so a two-slot hole near the folder's start draws the next short name there, ahead
// of entries moved back before it. The other entry and the first track moved back have long names,
// so that only a later short track can fall into such a hole.
class FatImageHoleTest : public FatImageTest {
protected:
    void PutFolder(const std::string& first) {
        Folder(folder);
        if (!first.empty()) {
            Put(folder + first, "the folder's first entry");
        }
        Put(folder + "Liner notes of the album.txt", "notes");
        for (const char* name : {"Aa.mp3", "Long track number one.mp3", "Bb.mp3",
                                 "Long track number two.mp3", "Cc.mp3"}) {
            Track(folder, name);
        }
    }

    const std::string folder = "MUSIC/";
};

TEST_F(FatImageHoleTest, SecondRunWithShortAndLongNamesMixedTakesTheArrangedOrder) {
    PutFolder("");
    TrackList tracks = Load(PlayerType::DirectoryOrder, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({3, 0, 1, 4, 2}); // Long two, Aa, Long one, Cc, Bb
    ExpectDirectoryOrderRun(folder, tracks);
    stdfs::remove_all(temp / "copy"); // the first check's copy of the image
    tracks = Load(PlayerType::DirectoryOrder, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({2, 4, 0, 1, 3}); // Long one, Bb, Long two, Aa, Cc
    ExpectDirectoryOrderRun(folder, tracks);
}

TEST_F(FatImageHoleTest, FolderWhoseFirstEntryWasDeletedTakesTheArrangedOrder) {
    PutFolder("Old.mp3");
    Delete(folder + "Old.mp3");
    TrackList tracks = Load(PlayerType::DirectoryOrder, folder);
    ASSERT_EQ(tracks.size(), 5U);
    tracks.Reorder({1, 0, 3, 4, 2}); // Long one, Aa, Long two, Cc, Bb
    ExpectDirectoryOrderRun(folder, tracks);
}

TEST_F(FatImageTest, FileNameRunGivesPrefixedNamesThatReloadInListOrder) {
    const Names onDisk = {"{07}Xy.mp3", "b song.mp3", "a.b.c.mp3", ".dot.mp3",
                          "{}Odd.mp3",  "Cc.mp3",     "Dd.mp3",    "Ee.mp3",
                          "Ff.mp3",     "Gg.mp3",     "Hh.mp3",    "Ii.mp3"};
    Put("Notes.txt", "notes");
    for (const std::string& name : onDisk) {
        Track("", name);
    }
    TrackList tracks = Load(PlayerType::FileNames, "");
    ASSERT_EQ(tracks.size(), onDisk.size());
    tracks.Reorder(Scrambled(tracks.size()));
    const TrackList reloaded = Run(PlayerType::FileNames, "", tracks);
    EXPECT_EQ(Displays(reloaded), Displays(tracks));

    // The old prefix is replaced, two digits for twelve tracks; contents follow their names.
    const Names shown = Displays(reloaded);
    ASSERT_NE(std::find(shown.begin(), shown.end(), "Xy.mp3"), shown.end());
    Names expected = {"Notes.txt"};
    Files files = {{"Notes.txt", "notes"}};
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

// What the tests above rely on: names written with mtools show through the mount as written,
// in the order written; names fusefat would show in capitals are refused, as is a write while
// fusefat serves the image.
TEST(FatImageFilling, NamesShowThroughTheMountAsWrittenInTheirOrder) {
    if (const std::string missing = test::FuseUnavailable(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    test::TempFolder temp;
    test::FatImage image{temp};
    const Names names = {"Notes.txt",         "SONG.MP3",  "b song.mp3", "{07}Xy.mp3",
                         ".hidden track.mp3", "a.b.c.mp3", "Aa.mp3"};
    test::NamedContents files;
    for (const std::string& name : names) {
        files.emplace_back(name, name);
    }
    ASSERT_TRUE(image.MakeFolder("Music"));
    ASSERT_TRUE(image.Write("Music", files));
    EXPECT_NONFATAL_FAILURE(image.Write("Music", {{"notes.txt", ""}}), "in capitals");
    EXPECT_NONFATAL_FAILURE(image.Write("Music", {{"{07}x.mp3", ""}}), "in capitals");

    ASSERT_TRUE(image.Mount());
    Names listed;
    for (const auto& entry : stdfs::directory_iterator(image / "Music")) {
        listed.push_back(entry.path().filename().string());
        EXPECT_EQ(test::ReadFile(entry.path().string()), listed.back());
    }
    EXPECT_EQ(listed, names);
    EXPECT_NONFATAL_FAILURE(image.Write("", {{"Late.mp3", ""}}), "unmount first");
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
    TrackList tracks = LoadTracks(folder.path(), {PlayerType::DirectoryOrder}, fs);
    ASSERT_EQ(tracks.size(), 2U);
    tracks.Reorder({1, 0});
    test::RecordedFailures failures;
    test::RecordedProgress progress;
    ArrangeRun run{fs, failures, progress};
    RunStrategy(PlayerType::DirectoryOrder, folder.path() + "/", tracks, run);

    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_EQ(Displays(LoadTracks(folder.path(), {PlayerType::DirectoryOrder}, fs)),
              Displays(tracks));
}

} // namespace
} // namespace tralvo
