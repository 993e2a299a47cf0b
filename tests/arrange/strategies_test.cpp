// The three strategies of the Tralvo command on real folders: their results, their progress,
// the failures they report, and that nothing is ever lost when any one step fails.
#include "arrange/run_journal.h"
#include "arrange/track_loading.h"
#include "arrange_test_support.h"
#include "media/sound_file.h"
#include "support/strategy_order_check.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;

std::vector<std::string> Displays(const TrackList& tracks) {
    std::vector<std::string> names;
    for (const TrackEntry& entry : tracks) {
        names.push_back(entry.display);
    }
    return names;
}

// Every file below folder, by its path relative to it, with its content.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : stdfs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[stdfs::relative(entry.path(), folder).string()] =
                test::ReadFile(entry.path().string());
        }
    }
    return files;
}

std::multiset<std::string> Contents(const std::map<std::string, std::string>& files) {
    std::multiset<std::string> contents;
    for (const auto& [path, content] : files) {
        contents.insert(content);
    }
    return contents;
}

// The entry names of folder in the order the file system lists them.
std::vector<std::string> Listing(const std::string& folder, FileSystem& fs = SystemFileSystem()) {
    std::vector<DirectoryEntry> entries;
    EXPECT_TRUE(fs.Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries));
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

class StrategiesTest : public testing::Test {
protected:
    std::string Track(const std::string& name) {
        return folder.WriteFile(name, test::TaggedMp3({.title = name}, 1 + tracksWritten++));
    }
    // The list as loading shows it, put in the order of names.
    TrackList Arranged(PlayerType type, const std::vector<std::string>& names,
                       FileSystem& fs = SystemFileSystem()) {
        TrackList tracks = LoadTracks(folder.path(), {type}, fs);
        std::vector<std::size_t> order;
        for (const std::string& name : names) {
            for (std::size_t i = 0; i < tracks.size(); ++i) {
                if (tracks[i].display == name) {
                    order.push_back(i);
                }
            }
        }
        EXPECT_EQ(order.size(), tracks.size());
        tracks.Reorder(order);
        return tracks;
    }
    // The command's core: the strategy, the reload, the comparison.
    TrackList Run(PlayerType type, const TrackList& tracks, FileSystem& fs) {
        ArrangeRun run{fs, failures, progress};
        const std::string before = tracks.Text();
        RunStrategy(type, F(), tracks, run);
        TrackList reloaded = LoadTracks(folder.path(), {type}, fs);
        test::ReportWhenOrderDiffers(before, reloaded, run);
        return reloaded;
    }
    std::string F() const { return folder.path() + "/"; }

    test::TempFolder folder;
    test::RecordedFailures failures;
    test::RecordedProgress progress;
    std::size_t tracksWritten = 0;
};

TEST_F(StrategiesTest, DirectoryOrderPutsTheOtherEntriesFirstThenTheTracksInListOrder) {
    for (const char* name : {"A.mp3", "B.mp3", "C.mp3"}) {
        Track(name);
    }
    folder.WriteFile("notes.txt", "notes");
    folder.MakeFolder("Covers");
    folder.WriteFile("Covers/front.jpg", "jpeg");
    test::DirectoryOrderFileSystem fs;
    std::vector<std::string> others;
    for (const std::string& name : Listing(folder.path(), fs)) {
        if (!name.ends_with(".mp3")) {
            others.push_back(name);
        }
    }
    const TrackList tracks = Arranged(PlayerType::DirectoryOrder, {"C.mp3", "A.mp3", "B.mp3"}, fs);
    const TrackList reloaded = Run(PlayerType::DirectoryOrder, tracks, fs);

    std::vector<std::string> expected = others;
    expected.insert(expected.end(), {"C.mp3", "A.mp3", "B.mp3"});
    EXPECT_EQ(Listing(folder.path(), fs), expected);
    EXPECT_EQ(Displays(reloaded), (std::vector<std::string>{"C.mp3", "A.mp3", "B.mp3"}));
    EXPECT_EQ(test::ReadFile(folder / "Covers/front.jpg"), "jpeg");
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(progress.maximum, 9);
    EXPECT_EQ(progress.positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// FAT puts a new entry into the first free slots big enough: a one-slot name moved back must
// not drop into a hole that an earlier run or a deleted file left in front.
class DirectoryOrderAgain : public StrategiesTest, public testing::WithParamInterface<int> {};

TEST_P(DirectoryOrderAgain, ShortAndLongNamesComeBackInListOrderOnEveryRun) {
    const std::vector<std::string> names = {
        "SHORT.MP3", "A rather long name for a track.mp3",     "TRK003.MP3", "b.mp3",
        "Z.MP3",     "Another name that takes three slots.ogg"};
    for (const std::string& name : names) {
        Track(name);
    }
    folder.WriteFile("notes.txt", "notes");
    test::DirectoryOrderFileSystem fat;
    const std::vector<std::string> others = {"notes.txt"};
    for (const std::string& name : Listing(folder.path(), fat)) {
        ASSERT_TRUE(name.ends_with("MP3") || name.ends_with("mp3") || name.ends_with("ogg") ||
                    name == "notes.txt");
    }
    // The free slots a deleted first entry leaves.
    fat.FreeSlotsInFront(folder.path(), static_cast<std::size_t>(GetParam()));

    const std::vector<std::vector<std::size_t>> orders = {
        {1, 0, 3, 2, 5, 4}, {2, 4, 0, 5, 1, 3}, {5, 4, 3, 2, 1, 0}};
    for (std::size_t round = 0; round < orders.size(); ++round) {
        std::vector<std::string> arranged;
        for (const std::size_t i : orders[round]) {
            arranged.push_back(names[i]);
        }
        failures.clear();
        Run(PlayerType::DirectoryOrder, Arranged(PlayerType::DirectoryOrder, arranged, fat), fat);
        std::vector<std::string> expected = others;
        expected.insert(expected.end(), arranged.begin(), arranged.end());
        EXPECT_EQ(Listing(folder.path(), fat), expected) << "run " << round + 1;
        EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
        EXPECT_EQ(progress.positions.back(), 18);
    }
}

// No hole, and holes of one, two and three slots in front.
INSTANTIATE_TEST_SUITE_P(FreeSlotsInFront, DirectoryOrderAgain, testing::Values(0, 1, 2, 3));

TEST_F(StrategiesTest, AnExistingTempFolderStopsTheRunBeforeAnythingMoves) {
    Track("A.mp3");
    Track("B.mp3");
    folder.MakeFolder("QZ_TEMP1");
    const std::vector<std::string> before = Listing(folder.path());
    const TrackList tracks = Arranged(PlayerType::DirectoryOrder, {"B.mp3", "A.mp3"});
    const bool alreadyInOrder =
        LoadTracks(folder.path(), {PlayerType::DirectoryOrder}, SystemFileSystem()).Text() ==
        tracks.Text();
    Run(PlayerType::DirectoryOrder, tracks, SystemFileSystem());
    EXPECT_EQ(Listing(folder.path()), before);
    std::vector<RunStep> steps = {RunStep::CreateTempFolder};
    if (!alreadyInOrder) {
        steps.push_back(RunStep::OrderDiffers);
    }
    EXPECT_EQ(failures.Steps(), steps);
    EXPECT_EQ(failures.failures[0].path, folder / "QZ_TEMP1");
    EXPECT_EQ(failures.failures[0].status.code(), EEXIST);
}

// The program may run from a folder of the player: that folder stays, a folder whose name
// only begins the same way moves.
class ProgramInside : public test::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::string program;
    std::string ProgramPath() override { return program; }
};

TEST_F(StrategiesTest, TheFolderHoldingTheProgramStaysWhereItIs) {
    Track("A.mp3");
    folder.MakeFolder("Tralvo");
    folder.MakeFolder("Tralvo2");
    test::DirectoryOrderFileSystem fat;
    ProgramInside fs(fat);
    fs.program = folder / "tralvo/bin/tralvo"; // letter case aside, as on FAT
    Run(PlayerType::DirectoryOrder, Arranged(PlayerType::DirectoryOrder, {"A.mp3"}, fs), fs);
    // Never moved, the program's folder now stands before everything that was.
    EXPECT_EQ(Listing(folder.path(), fs), (std::vector<std::string>{"Tralvo", "Tralvo2", "A.mp3"}));
    EXPECT_TRUE(failures.empty());
}

TEST_F(StrategiesTest, FileNamesGetOrderPrefixesOfOneWidthThroughTemporaryNames) {
    Track("{2}b.mp3");
    Track("a.ogg");
    Track("{1}c.wma");
    Run(PlayerType::FileNames, Arranged(PlayerType::FileNames, {"b.mp3", "a.ogg", "c.wma"}),
        SystemFileSystem());
    std::vector<std::string> names = Listing(folder.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"{1}b.mp3", "{2}a.ogg", "{3}c.wma"}));
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(progress.maximum, 6);
    EXPECT_EQ(progress.positions.back(), 6);

    tracksWritten = 0;
    for (int i = 0; i < 7; ++i) {
        Track("x" + std::to_string(i) + ".mp3");
    }
    TrackList ten = LoadTracks(folder.path(), {PlayerType::FileNames}, SystemFileSystem());
    ASSERT_EQ(ten.size(), 10u);
    ten.Move(9, 0);
    const std::string arranged = ten.Text();
    EXPECT_EQ(Run(PlayerType::FileNames, ten, SystemFileSystem()).Text(), arranged);
    // Loaded by path, x0 to x6 come before the prefixed names; c.wma was moved to the top.
    EXPECT_TRUE(std::filesystem::exists(folder / "{01}c.wma"));
    EXPECT_TRUE(std::filesystem::exists(folder / "{02}x0.mp3"));
    EXPECT_TRUE(std::filesystem::exists(folder / "{10}a.ogg"));
}

TEST_F(StrategiesTest, AStrayTemporaryNameIsReportedAndLeftAlone) {
    Track("a.mp3");
    Track("b.mp3");
    folder.WriteFile("0.qz_temp", "left by an earlier run");
    const TrackList tracks = Arranged(PlayerType::FileNames, {"a.mp3", "b.mp3"});
    Run(PlayerType::FileNames, tracks, SystemFileSystem());
    // a.mp3 cannot take 0.qz_temp; the second pass leaves the stray file alone and says so.
    EXPECT_EQ(failures.Steps(), (std::vector<RunStep>{RunStep::Rename, RunStep::Rename}));
    EXPECT_EQ(failures.failures[0].path, folder / "a.mp3");
    EXPECT_EQ(failures.failures[0].status.code(), EEXIST);
    // Never tried: there is no system's word for it.
    EXPECT_EQ(failures.failures[1].path, folder / "0.qz_temp");
    EXPECT_TRUE(failures.failures[1].status.ok());
    EXPECT_EQ(test::ReadFile(folder / "0.qz_temp"), "left by an earlier run");
    EXPECT_TRUE(std::filesystem::exists(folder / "a.mp3"));
    EXPECT_TRUE(std::filesystem::exists(folder / "{2}b.mp3"));
}

TEST_F(StrategiesTest, CreationTimesRiseOneDayApartAndTheLastTrackKeepsItsOwn) {
    for (const char* name : {"A.mp3", "B.mp3", "C.mp3"}) {
        Track(name);
    }
    test::TimedFileSystem fs;
    const media::DateTime march10 = 38421.5; // 10 March 2005, 12:00
    fs.times[folder / "B.mp3"] = media::DateTimeToFileTime(march10);
    fs.times[folder / "A.mp3"] = media::DateTimeToFileTime(march10 + 5);
    fs.times[folder / "C.mp3"] = media::DateTimeToFileTime(march10 + 9);
    const TrackList reloaded =
        Run(PlayerType::CreationTimes,
            Arranged(PlayerType::CreationTimes, {"C.mp3", "A.mp3", "B.mp3"}, fs), fs);
    EXPECT_EQ(media::FileTimeToDateTime(fs.times[folder / "B.mp3"]), march10);
    EXPECT_EQ(media::FileTimeToDateTime(fs.times[folder / "A.mp3"]), march10 - 1);
    EXPECT_EQ(media::FileTimeToDateTime(fs.times[folder / "C.mp3"]), march10 - 2);
    EXPECT_EQ(Displays(reloaded), (std::vector<std::string>{"C.mp3", "A.mp3", "B.mp3"}));
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(progress.maximum, 3);
    EXPECT_EQ(progress.positions, (std::vector<int>{1, 2, 3}));
}

TEST_F(StrategiesTest, AReadOnlyTrackKeepsItsTimeAndTheNextEarlierTakesItsPlace) {
    for (const char* name : {"A.mp3", "B.mp3", "C.mp3"}) {
        Track(name);
    }
    test::TimedFileSystem fs;
    const media::DateTime march10 = 38421.5;
    for (const char* name : {"A.mp3", "B.mp3", "C.mp3"}) {
        fs.times[folder / name] = media::DateTimeToFileTime(march10);
    }
    ASSERT_EQ(::chmod((folder / "A.mp3").c_str(), 0444), 0);
    Run(PlayerType::CreationTimes,
        Arranged(PlayerType::CreationTimes, {"C.mp3", "A.mp3", "B.mp3"}, fs), fs);
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures.failures[0].step, RunStep::SetCreationTime);
    EXPECT_EQ(failures.failures[0].path, folder / "A.mp3");
    EXPECT_EQ(failures.failures[0].status.code(), EACCES);
    EXPECT_EQ(media::FileTimeToDateTime(fs.times[folder / "A.mp3"]), march10);
    EXPECT_EQ(media::FileTimeToDateTime(fs.times[folder / "C.mp3"]), march10 - 1);
}

// What the k-th change was asked to do, to know which failure it must report, and where.
class WatchedFailure : public test::FailingFileSystem {
public:
    WatchedFailure(int failAt, FileSystem& inner, bool madeAnew)
        : FailingFileSystem(failAt, inner), at_(failAt), madeAnew_(madeAnew) {}
    RunStep expectedStep = RunStep::OrderDiffers;
    std::string expectedPath;

    Status Rename(const std::string& from, const std::string& to) override {
        Expect(madeAnew_                                                ? RunStep::Recreate
               : from.ends_with(".qz_temp") || to.ends_with(".qz_temp") ? RunStep::Rename
               : to.find("/QZ_TEMP") != std::string::npos               ? RunStep::MoveToTempFolder
                                                                        : RunStep::MoveBack,
               from);
        if (madeAnew_ && changes + 1 == at_ && from.ends_with(".qz_copy")) {
            // The copy failed to take the original's name: the original is what stays.
            expectedPath = to;
        }
        return FailingFileSystem::Rename(from, to);
    }
    Status CopyFile(const std::string& from, const std::string& to) override {
        Expect(RunStep::Recreate, from);
        return FailingFileSystem::CopyFile(from, to);
    }
    Status RemoveFile(const std::string& path) override {
        Expect(RunStep::RemoveTempFile, path);
        return FailingFileSystem::RemoveFile(path);
    }
    Status CreateFolder(const std::string& path) override {
        Expect(RunStep::CreateTempFolder, path);
        return FailingFileSystem::CreateFolder(path);
    }
    Status RemoveFolder(const std::string& path) override {
        Expect(RunStep::RemoveTempFolder, path);
        return FailingFileSystem::RemoveFolder(path);
    }
    Status WriteCreationTime(const std::string& path, FileTime time) override {
        Expect(RunStep::SetCreationTime, path);
        return FailingFileSystem::WriteCreationTime(path, time);
    }

private:
    void Expect(RunStep step, const std::string& path) {
        if (changes + 1 == at_) {
            expectedStep = step;
            expectedPath = path;
        }
    }

    int at_;
    bool madeAnew_;
};

struct NothingLostCase {
    PlayerType type;
    const char* name;
    bool madeAnew = false; // creation times that cannot be set: the tracks are made anew
};

class NothingIsLost : public testing::TestWithParam<NothingLostCase> {};

// The run is repeated with each of its changes failing in turn: every file stays, byte for
// byte, no entry but a track is renamed, each failure is reported with its step, its path and
// the system's words, and the order is reported to differ exactly when the folder's order is
// not the arranged one.
TEST_P(NothingIsLost, WhicheverStepFails) {
    const PlayerType type = GetParam().type;
    for (int failAt = 1;; ++failAt) {
        test::TempFolder folder;
        test::RecordedFailures failures;
        test::RecordedProgress progress;
        const std::vector<std::string> names = {"{07}Alpha.mp3", "Beta Song.mp3", ".hidden.ogg",
                                                "Gamma.wav"};
        for (std::size_t i = 0; i < names.size(); ++i) {
            folder.WriteFile(names[i], test::TaggedMp3({.title = names[i]}, 1 + i));
        }
        folder.WriteFile("notes.txt", "notes");
        folder.MakeFolder("Covers");
        folder.WriteFile("Covers/front.jpg", "jpeg");
        const std::map<std::string, std::string> original = FilesBelow(folder.path());

        test::DirectoryOrderFileSystem fat;
        test::TimedFileSystem timed(fat);
        for (const std::string& name : names) {
            timed.times[folder / name] = media::DateTimeToFileTime(40000.0);
        }
        const bool madeAnew = GetParam().madeAnew;
        WatchedFailure fs(failAt, madeAnew ? static_cast<FileSystem&>(fat) : timed, madeAnew);
        TrackList tracks = LoadTracks(folder.path(), {type}, fs);
        tracks.Reorder({3, 1, 0, 2});
        const std::string arranged = tracks.Text();
        ArrangeRun run{fs, failures, progress};
        RunStrategy(type, folder.path() + "/", tracks, run);
        const TrackList reloaded = LoadTracks(folder.path(), {type}, fs);
        const bool differs = test::ReportWhenOrderDiffers(arranged, reloaded, run);

        std::map<std::string, std::string> after = FilesBelow(folder.path());
        const std::vector<RunStep> steps = failures.Steps();
        if (!steps.empty() && steps.front() == RunStep::RemoveTempFile) {
            // A spare copy stays beside its track, for the recovery to remove.
            ASSERT_EQ(std::erase_if(after,
                                    [](const auto& file) {
                                        const std::string name =
                                            stdfs::path(file.first).filename().string();
                                        return IsTemporaryName(name) || IsCopyName(name);
                                    }),
                      1U);
        }
        EXPECT_EQ(Contents(after), Contents(original)) << "failing change " << failAt;
        for (const auto& [path, content] : after) {
            if (content == "notes" || content == "jpeg") {
                EXPECT_TRUE(path.ends_with(content == "notes" ? "notes.txt" : "Covers/front.jpg"))
                    << path;
            }
        }
        EXPECT_EQ(differs, !steps.empty() && steps.back() == RunStep::OrderDiffers);
        EXPECT_EQ(differs, reloaded.Text() != arranged);
        EXPECT_EQ(run.report.failures.size(), steps.size());
        if (fs.changes < failAt) {
            // Nothing failed: the run is clean and its count is known.
            EXPECT_TRUE(steps.empty()) << testing::PrintToString(steps);
            EXPECT_GT(failAt, 1);
            break;
        }
        ASSERT_FALSE(steps.empty()) << "a failed change reported nothing, change " << failAt;
        const RunFailure& first = failures.failures.front();
        EXPECT_EQ(first.step, fs.expectedStep) << "change " << failAt;
        EXPECT_EQ(first.path, fs.expectedPath) << "change " << failAt;
        EXPECT_EQ(first.status.message(), "injected failure") << "change " << failAt;
        // Only a directory-order run that cannot make its first folder stops before the end.
        if (!(type == PlayerType::DirectoryOrder && failAt == 1)) {
            EXPECT_EQ(progress.positions.empty() ? -1 : progress.positions.back(), progress.maximum)
                << "change " << failAt;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strategies, NothingIsLost,
    testing::Values(NothingLostCase{PlayerType::DirectoryOrder, "DirectoryOrder"},
                    NothingLostCase{PlayerType::FileNames, "FileName"},
                    NothingLostCase{PlayerType::CreationTimes, "CreationTime"},
                    NothingLostCase{PlayerType::CreationTimes, "CreationTimeMadeAnew", true}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace tralvo
