// Undo of the last run in a folder, for each strategy, from the record the run kept.
#include "arrange/arrange_tracks.h"
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/undo.h"
#include "jobs/order_check.h"
#include "jobs/undo_last_run.h"
#include "journal_test_support.h"
#include "media/sound_file.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;

class UndoTest : public test::JournaledFolderTest {
protected:
    // Arranges the folder's tracks in the order of displays with the journaled run.
    void RunArranged(PlayerType type, const Names& displays, FileSystem& fs) {
        shown = type;
        const TrackList tracks = Arranged(type, displays, fs);
        ArrangeRun run{fs, failures, progress};
        ASSERT_TRUE(ArrangeTracks({type}, F(), tracks, run, journals.store).Changed());
        ASSERT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    }
    // As Ctrl+Z runs it, the folder shown under the order it was arranged under.
    UndoOutcome Undo(FileSystem& fs) {
        ArrangeRun run{fs, failures, progress};
        const jobs::UndoJobOutcome undo = jobs::UndoLastRun(F(), {shown}, run, journals.store);
        jobs::TellOrder(undo.job, failures);
        return undo.outcome;
    }
    Names Displays(PlayerType type, FileSystem& fs) {
        Names names;
        for (const TrackEntry& entry : LoadTracks(folder.path(), {type}, fs)) {
            names.push_back(entry.display);
        }
        return names;
    }
    PlayerType shown = PlayerType::DirectoryOrder;
    Names NamesOnDisk() {
        Names names;
        for (const auto& [path, content] : test::FilesBelow(folder.path())) {
            names.push_back(path);
        }
        return names;
    }
};

TEST_F(UndoTest, DirectoryOrderComesBackByARunInTheOldOrder) {
    Tracks({"A.mp3", "B.mp3", "C.mp3"});
    folder.WriteFile("notes.txt", "notes");
    test::DirectoryOrderFileSystem fat;
    const Names before = Displays(PlayerType::DirectoryOrder, fat);
    RunArranged(PlayerType::DirectoryOrder, {before[2], before[0], before[1]}, fat);
    ASSERT_NE(Displays(PlayerType::DirectoryOrder, fat), before);
    ASSERT_TRUE(CanUndo(F(), journals.store));

    EXPECT_EQ(Undo(fat), UndoOutcome::Undone);
    EXPECT_EQ(Displays(PlayerType::DirectoryOrder, fat), before);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_EQ(progress.maximum, 9);
    // An undo leaves nothing to undo.
    EXPECT_FALSE(CanUndo(F(), journals.store));
    EXPECT_EQ(Undo(fat), UndoOutcome::NothingToUndo);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

// The undo is a later run in the folder: its short names must not fall into the hole at the
// front that the run before left.
TEST_F(UndoTest, DirectoryOrderComesBackExactlyWithShortAndLongNamesMixed) {
    Tracks({"SHORT.MP3", "A long name that takes several slots.mp3", "TRK003.MP3", "b.mp3"});
    folder.WriteFile("notes.txt", "notes");
    test::DirectoryOrderFileSystem fat;
    const Names first = Displays(PlayerType::DirectoryOrder, fat);
    RunArranged(PlayerType::DirectoryOrder, {first[3], first[1], first[2], first[0]}, fat);
    const Names before = Displays(PlayerType::DirectoryOrder, fat);
    RunArranged(PlayerType::DirectoryOrder, {before[1], before[3], before[0], before[2]}, fat);
    ASSERT_NE(Displays(PlayerType::DirectoryOrder, fat), before);

    EXPECT_EQ(Undo(fat), UndoOutcome::Undone);
    EXPECT_EQ(Displays(PlayerType::DirectoryOrder, fat), before);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

TEST_F(UndoTest, FileNamesGetTheirOldNamesBackExactly) {
    Tracks({"{07}Alpha.mp3", "Beta.mp3", "{1}x.mp3", "{2}x.mp3", "{}odd.ogg"});
    const Names before = NamesOnDisk();
    const Names displays = Displays(PlayerType::FileNames, SystemFileSystem());
    Names reversed(displays.rbegin(), displays.rend());
    RunArranged(PlayerType::FileNames, reversed, SystemFileSystem());
    ASSERT_NE(NamesOnDisk(), before);
    const auto contents = test::FilesBelow(folder.path());

    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::Undone);
    EXPECT_EQ(NamesOnDisk(), before);
    EXPECT_EQ(Displays(PlayerType::FileNames, SystemFileSystem()), displays);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_EQ(progress.maximum, 10);
    // {1}x.mp3 and {2}x.mp3 swapped in the run and swapped back.
    EXPECT_EQ(test::ReadFile(folder / "{1}x.mp3"), test::TaggedMp3({.title = "{1}x.mp3"}, 3));
}

TEST_F(UndoTest, CreationTimesComeBackExactly) {
    Tracks({"A.mp3", "B.mp3", "C.mp3"});
    test::TimedFileSystem fs;
    fs.times[folder / "A.mp3"] = media::DateTimeToFileTime(38421.123);
    fs.times[folder / "B.mp3"] = media::DateTimeToFileTime(38400.5);
    fs.times[folder / "C.mp3"] = media::DateTimeToFileTime(38500.75);
    const auto before = fs.times;
    RunArranged(PlayerType::CreationTimes, {"C.mp3", "A.mp3", "B.mp3"}, fs);
    ASSERT_NE(fs.times, before);

    EXPECT_EQ(Undo(fs), UndoOutcome::Undone);
    EXPECT_EQ(fs.times, before);
    EXPECT_EQ(Displays(PlayerType::CreationTimes, fs), (Names{"B.mp3", "A.mp3", "C.mp3"}));
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

TEST_F(UndoTest, AFolderThatChangedSinceTheRunIsLeftAlone) {
    Tracks({"a.mp3", "b.mp3"});
    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::NothingToUndo);
    failures.clear();
    RunArranged(PlayerType::FileNames, {"b.mp3", "a.mp3"}, SystemFileSystem());
    stdfs::rename(folder / "{1}b.mp3", folder / "b.mp3");
    const Names now = NamesOnDisk();
    failures.clear();
    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::NotPossible);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::UndoNotPossible});
    EXPECT_EQ(failures.failures[0].path, F());
    EXPECT_EQ(NamesOnDisk(), now);

    // A new track since the run.
    stdfs::rename(folder / "b.mp3", folder / "{1}b.mp3");
    folder.WriteFile("c.mp3", "c");
    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::NotPossible);
    stdfs::remove(folder / "c.mp3");

    // What an interrupted run left behind must be recovered first.
    folder.WriteFile("9.qz_temp", "stray");
    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::NotPossible);
    stdfs::remove(folder / "9.qz_temp");

    ASSERT_TRUE(journals.store.Write(F(), "garbage"));
    EXPECT_EQ(Undo(SystemFileSystem()), UndoOutcome::NotPossible);
}

TEST_F(UndoTest, AFailedStepIsReportedAndTheResultChecked) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    RunArranged(PlayerType::FileNames, {"c.mp3", "b.mp3", "a.mp3"}, SystemFileSystem());
    const Names arranged = Displays(PlayerType::FileNames, SystemFileSystem());
    // The undo's third rename fails: a.mp3 keeps its new name and its new place.
    test::FailingFileSystem fs(3);
    EXPECT_EQ(Undo(fs), UndoOutcome::Failed);
    EXPECT_EQ(failures.Steps(),
              (std::vector<RunStep>{RunStep::Rename, RunStep::Rename, RunStep::OrderDiffers}));
    EXPECT_EQ(failures.failures[0].path, folder / "{3}a.mp3");
    EXPECT_EQ(failures.failures[0].status.message(), "injected failure");
    EXPECT_EQ(Displays(PlayerType::FileNames, SystemFileSystem()),
              (Names{"b.mp3", "c.mp3", "a.mp3"}));
    EXPECT_FALSE(NeedsRecovery(F(), SystemFileSystem(), journals.store));
}

// The undo is repeated with each of its changes failing in turn: it fails exactly when it
// reported a failure, its first failure carries the system's words, and every file is still
// there, byte for byte.
class UndoWhicheverStepFails : public testing::TestWithParam<PlayerType> {};

TEST_P(UndoWhicheverStepFails, ItsOutcomeIsWhatItReported) {
    const PlayerType type = GetParam();
    const Names names = {"a.mp3", "b.mp3", "c.mp3"};
    int failed = 0;
    for (int failAt = 1;; ++failAt) {
        test::TempFolder folder;
        test::TestJournals journals;
        test::RecordedFailures failures;
        test::RecordedProgress progress;
        const std::string f = folder.path() + "/";
        test::DirectoryOrderFileSystem fat;
        test::TimedFileSystem timed(fat);
        for (std::size_t i = 0; i < names.size(); ++i) {
            folder.WriteFile(names[i], test::TaggedMp3({.title = names[i]}, 1 + i));
            timed.times[folder / names[i]] = media::DateTimeToFileTime(40000.0 + double(i));
        }
        {
            const TrackList tracks =
                test::Arranged(folder.path(), type, {"c.mp3", "a.mp3", "b.mp3"}, timed);
            ArrangeRun run{timed, failures, progress};
            ASSERT_TRUE(ArrangeTracks({type}, f, tracks, run, journals.store).Changed());
            ASSERT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
        }
        const auto original = test::Contents(test::FilesBelow(folder.path()));

        test::FailingFileSystem fs(failAt, timed);
        ArrangeRun run{fs, failures, progress};
        const jobs::UndoJobOutcome undo = jobs::UndoLastRun(f, {type}, run, journals.store);
        jobs::TellOrder(undo.job, failures);
        const UndoOutcome outcome = undo.outcome;
        const std::string at = "change " + std::to_string(failAt);
        EXPECT_EQ(test::Contents(test::FilesBelow(folder.path())), original) << at;
        EXPECT_EQ(undo.job.report.failures.size(), failures.failures.size()) << at;
        EXPECT_EQ(outcome, failures.empty() ? UndoOutcome::Undone : UndoOutcome::Failed) << at;
        if (fs.changes < failAt) {
            EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
            EXPECT_GT(failAt, 1);
            break;
        }
        // A failure the run goes round (a directory-order run that cannot take its shortcut
        // takes the long way) is no failure of the undo.
        if (!failures.empty()) {
            ++failed;
            EXPECT_EQ(failures.failures[0].status.message(), "injected failure") << at;
        }
    }
    EXPECT_GT(failed, 0);
}

INSTANTIATE_TEST_SUITE_P(Strategies, UndoWhicheverStepFails, testing::ValuesIn(AllPlayerTypes));

} // namespace
} // namespace tralvo
