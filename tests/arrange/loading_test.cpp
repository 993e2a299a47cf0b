// The track list as loading a player folder builds it.
#include "arrange/temporary_file_title.h"
#include "arrange/track_loading.h"
#include "arrange_test_support.h"
#include "media/sound_file.h"
#include "support/apple_double_file.h"
#include "support/named_pipe.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
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

// A Mac's "._" companions beside the tracks, one "._" name that holds real audio and one too
// short to carry the magic.
struct FolderWithCompanions {
    FolderWithCompanions() {
        folder.WriteFile("Song.mp3", test::UntaggedMp3(1));
        folder.WriteFile("._Song.mp3", test::AppleDoubleContent());
        folder.WriteFile("._Live.mp3", test::UntaggedMp3(2));
        folder.WriteFile("Other.ogg", "OggS");
        folder.WriteFile("._Other.ogg", test::AppleDoubleContent());
        folder.WriteFile("._short.wav", std::string("\x00\x05\x16", 3));
        folder.WriteFile("._notes.txt", test::AppleDoubleContent());
    }
    test::TempFolder folder;
    const std::vector<std::string> tracks{"._Live.mp3", "._short.wav", "Other.ogg", "Song.mp3"};
};

// Which files were opened for reading.
class OpenWatch : public test::ForwardingFileSystem {
public:
    Status OpenForReading(const std::string& path, UniqueFd& fd) override {
        opened.insert(std::string(BaseName(path)));
        return ForwardingFileSystem::OpenForReading(path, fd);
    }
    std::set<std::string> opened;
};

TEST(LoadTracks, AppleDoubleCompanionsAreNoTracksInEveryOrderButAudioWithTheirNamesIs) {
    const FolderWithCompanions f;
    for (const PlayerType type : AllPlayerTypes) {
        const TrackList tracks = LoadTracks(f.folder.path(), {type}, SystemFileSystem());
        EXPECT_EQ(Sorted(Displays(tracks)), f.tracks) << PlayerTypeNumber(type);
    }
    const TrackList tracks =
        LoadTracks(f.folder.path(), {PlayerType::DirectoryOrder}, SystemFileSystem());
    EXPECT_EQ(Sorted(CollectOtherEntries(f.folder.path() + "/", tracks, SystemFileSystem())),
              (std::vector<std::string>{"._Other.ogg", "._Song.mp3", "._notes.txt"}));
}

TEST(LoadTracks, OpensOnlyTheAudioNamedDotUnderscoreFilesToTellCompanions) {
    const FolderWithCompanions f;
    OpenWatch fs;
    const TrackList tracks = LoadTracks(f.folder.path(), {PlayerType::DirectoryOrder}, fs);
    EXPECT_EQ(tracks.size(), f.tracks.size());
    EXPECT_EQ(fs.opened,
              (std::set<std::string>{"._Live.mp3", "._Other.ogg", "._Song.mp3", "._short.wav"}));
}

// The directory-order run moves them with the other entries (on a FAT image in
// fat_image_test.cpp); a file-name run must not give them an order prefix.
TEST(LoadTracks, AFileNameRunLeavesCompanionsUnderTheirNames) {
    const FolderWithCompanions f;
    TrackList tracks = LoadTracks(f.folder.path(), {PlayerType::FileNames}, SystemFileSystem());
    tracks.Reorder({3, 2, 1, 0});
    test::RecordedFailures failures;
    test::RecordedProgress progress;
    ArrangeRun run{SystemFileSystem(), failures, progress};
    RunStrategy(PlayerType::FileNames, f.folder.path() + "/", tracks, run);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(test::ReadFile(f.folder / "._Song.mp3"), test::AppleDoubleContent());
    EXPECT_EQ(test::ReadFile(f.folder / "._Other.ogg"), test::AppleDoubleContent());
    EXPECT_EQ(Displays(LoadTracks(f.folder.path(), {PlayerType::FileNames}, SystemFileSystem())),
              Displays(tracks));
}

} // namespace
} // namespace tralvo
