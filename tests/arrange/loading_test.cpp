// The track list as loading a player folder builds it.
#include "arrange/temporary_file_title.h"
#include "arrange/track_loading.h"
#include "arrange_test_support.h"
#include "media/sound_file.h"
#include "support/named_pipe.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tralvo {
namespace {

std::vector<std::string> Displays(const TrackList& tracks) {
    std::vector<std::string> names;
    for (const TrackEntry& entry : tracks) {
        names.push_back(entry.display);
    }
    return names;
}

std::vector<std::string> Paths(const TrackList& tracks) {
    std::vector<std::string> paths;
    for (const TrackEntry& entry : tracks) {
        paths.push_back(entry.file->FileName());
    }
    return paths;
}

TEST(OrderPrefix, IsBraceDigitsBraceAtTheStart) {
    EXPECT_EQ(OrderPrefixLength("{7}a.mp3"), 3u);
    EXPECT_EQ(OrderPrefixLength("{0012}a.mp3"), 6u);
    for (const char* name : {"{}a.mp3", "{1a}b.mp3", "x{1}.mp3", "{12", "{", ""}) {
        EXPECT_EQ(OrderPrefixLength(name), 0u) << name;
    }
}

TEST(LoadTracks, ListsAudioFilesOnlyInTheFoldersOrder) {
    test::TempFolder folder;
    folder.WriteFile("b.MP3", test::UntaggedMp3());
    folder.WriteFile("a.txt", "notes");
    folder.MakeFolder("c.ogg");
    folder.WriteFile(".d.wav", "RIFF");
    std::vector<DirectoryEntry> listed;
    ASSERT_TRUE(
        SystemFileSystem().Enumerate(folder.path(), EnumerateFilter::FilesOnly, false, listed));
    std::vector<std::string> expected;
    for (const DirectoryEntry& entry : listed) {
        if (entry.name != "a.txt") {
            expected.push_back(entry.name);
        }
    }
    const TrackList tracks =
        LoadTracks(folder.path(), {PlayerType::DirectoryOrder}, SystemFileSystem());
    EXPECT_EQ(Displays(tracks), expected);
    EXPECT_EQ(tracks[0].file->FileName(), folder.path() + "/" + tracks[0].display);
    EXPECT_TRUE(
        LoadTracks(folder / "missing", {PlayerType::DirectoryOrder}, SystemFileSystem()).empty());
}

TEST(LoadTracks, FileNameOrderShowsNamesWithoutPrefixAndSortsByPath) {
    test::TempFolder folder;
    for (const char* name : {"{03}Song.mp3", "{}Song.mp3", "{3a}Song.mp3", "{01}zz.mp3"}) {
        folder.WriteFile(name, test::UntaggedMp3());
    }
    const TrackList tracks = LoadTracks(folder.path(), {PlayerType::FileNames}, SystemFileSystem());
    EXPECT_EQ(Displays(tracks),
              (std::vector<std::string>{"zz.mp3", "Song.mp3", "{3a}Song.mp3", "{}Song.mp3"}));
    EXPECT_EQ(Paths(tracks)[1], folder / "{03}Song.mp3");
}

// A file system whose short names sort the other way round from the long ones.
class ShortNames : public test::ForwardingFileSystem {
public:
    std::string ShortPath(const std::string& path) override {
        return path.ends_with("Alpha.mp3") ? "/P/ZZZ~1.MP3" : "/P/AAA~1.MP3";
    }
};

TEST(LoadTracks, OnlyShortNamesSortByTheShortNames) {
    test::TempFolder folder;
    folder.WriteFile("Alpha.mp3", test::UntaggedMp3());
    folder.WriteFile("Beta.mp3", test::UntaggedMp3());
    ShortNames fs;
    EXPECT_EQ(Displays(LoadTracks(folder.path(), {PlayerType::FileNames, true}, fs)),
              (std::vector<std::string>{"Beta.mp3", "Alpha.mp3"}));
    EXPECT_EQ(Displays(LoadTracks(folder.path(), {PlayerType::FileNames}, fs)),
              (std::vector<std::string>{"Alpha.mp3", "Beta.mp3"}));
}

TEST(LoadTracks, CreationTimeOrderIsEarliestFirstTiesInListingOrder) {
    test::TempFolder folder;
    test::TimedFileSystem fs;
    for (const char* name : {"late.mp3", "tie1.mp3", "early.mp3", "tie2.mp3"}) {
        folder.WriteFile(name, test::UntaggedMp3());
    }
    constexpr FileTime second = 10'000'000; // in 100-nanosecond units
    constexpr FileTime year2005 = 127'491'264'000'000'000;
    fs.times[folder / "late.mp3"] = year2005 + 3 * second;
    fs.times[folder / "early.mp3"] = year2005 + 1 * second;
    fs.times[folder / "tie1.mp3"] = year2005 + 2 * second;
    fs.times[folder / "tie2.mp3"] = year2005 + 2 * second;
    std::vector<std::string> ties;
    for (const TrackEntry& entry : LoadTracks(folder.path(), {PlayerType::DirectoryOrder}, fs)) {
        if (entry.display.starts_with("tie")) {
            ties.push_back(entry.display);
        }
    }
    const TrackList tracks = LoadTracks(folder.path(), {PlayerType::CreationTimes}, fs);
    EXPECT_EQ(Displays(tracks),
              (std::vector<std::string>{"early.mp3", ties[0], ties[1], "late.mp3"}));
}

// Named pipes with audio names, a link to a track elsewhere and a link that leads nowhere,
// beside one track.
struct FolderWithPipes {
    test::TempFolder folder;
    test::TempFolder elsewhere;
    const std::vector<std::string> pipes{"x.mp3", "x.ogg", "x.wav", "x.wma"};

    FolderWithPipes() {
        folder.WriteFile("song.mp3", test::TaggedMp3({.title = "Song"}));
        const std::string linked = elsewhere.WriteFile("linked.mp3", test::TaggedMp3({}));
        EXPECT_EQ(::symlink(linked.c_str(), (folder / "link.mp3").c_str()), 0);
        EXPECT_EQ(::symlink((folder / "nowhere.mp3").c_str(), (folder / "dangling.mp3").c_str()),
                  0);
        for (const std::string& pipe : pipes) {
            EXPECT_TRUE(test::MakeNamedPipe(folder / pipe)) << pipe;
        }
    }
};

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LoadTracks, OnlyRegularFilesAndLinksToThemAreTracksInEveryOrder) {
    const FolderWithPipes f;
    ASSERT_FALSE(testing::Test::HasFailure());
    const test::HangGuard guard;
    for (const PlayerType type : AllPlayerTypes) {
        const TrackList tracks = LoadTracks(f.folder.path(), {type}, SystemFileSystem());
        EXPECT_EQ(Sorted(Displays(tracks)), (std::vector<std::string>{"link.mp3", "song.mp3"}))
            << PlayerTypeNumber(type);
    }
    // The directory-order run moves the rest with the other entries.
    const TrackList tracks =
        LoadTracks(f.folder.path(), {PlayerType::DirectoryOrder}, SystemFileSystem());
    EXPECT_EQ(Sorted(CollectOtherEntries(f.folder.path() + "/", tracks, SystemFileSystem())),
              (std::vector<std::string>{"dangling.mp3", "x.mp3", "x.ogg", "x.wav", "x.wma"}));
}

// What a user can still point at: a named pipe given on the command line, or one put in a
// track's place after the folder was loaded.
TEST(LoadTracks, ANamedPipeReadsAtOnceAsAFileWithoutTagTimeOrKind) {
    const FolderWithPipes f;
    ASSERT_FALSE(testing::Test::HasFailure());
    const test::HangGuard guard;
    for (const std::string& pipe : f.pipes) {
        media::SoundFile file(f.folder / pipe);
        EXPECT_FALSE(file.HasTag()) << pipe;
        EXPECT_EQ(file.GetCreationTime(), 0.0) << pipe;
        EXPECT_EQ(SniffSoundKindOf(f.folder / pipe), media::KindUnknown) << pipe;
    }
    EXPECT_FALSE(SystemFileSystem().CopyFile(f.folder / "x.mp3", f.elsewhere / "copy.mp3"));
    EXPECT_FALSE(SystemFileSystem().FileExists(f.elsewhere / "copy.mp3"));
    for (const std::string& pipe : f.pipes) {
        EXPECT_TRUE(test::IsNamedPipe(f.folder / pipe)) << pipe;
    }
}

} // namespace
} // namespace tralvo
