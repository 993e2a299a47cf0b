// Creation times where the system cannot set them: the tracks made anew in list order, on
// this machine's own file system and on a FAT volume whose clock the test runs.
#include "arrange/arrange_tracks.h"
#include "arrange/recovery.h"
#include "arrange/run_journal.h"
#include "arrange/undo.h"
#include "jobs/undo_last_run.h"
#include "journal_test_support.h"
#include "platform/clock.h"
#include "stamping_fat.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace tralvo {
namespace {

using Names = std::vector<std::string>;
using test::FakeClock;
using test::StampingFat;
constexpr FileTime Second = 10'000'000;

class RecreationTest : public test::JournaledFolderTest {
protected:
    TrackList Run(const Names& order, FileSystem& fs, Clock& clock = SystemClock()) {
        const TrackList tracks = Arranged(PlayerType::CreationTimes, order, fs);
        ArrangeRun run{fs, failures, progress, clock};
        EXPECT_TRUE(
            ArrangeTracks({PlayerType::CreationTimes}, F(), tracks, run, journals.store).Changed());
        return LoadTracks(folder.path(), {PlayerType::CreationTimes}, fs);
    }
    static Names Displays(const TrackList& tracks) {
        Names names;
        for (const TrackEntry& track : tracks) {
            names.push_back(track.display);
        }
        return names;
    }
    ino_t Inode(const std::string& name) {
        struct stat info {};
        EXPECT_EQ(::stat((folder / name).c_str(), &info), 0) << name;
        return info.st_ino;
    }
};

// On this machine's disk: the birth times that the kernel stamps order the tracks.
TEST_F(RecreationTest, TracksMadeAnewReadBackInListOrderKeepingBytesNamesAndTimes) {
    const std::string longName = std::string(251, 'L') + ".mp3"; // 255 bytes, the most there is
    const Names names = {"first.mp3", "Ünïcödé ♫.mp3", "third.ogg", longName, "fifth.wav"};
    Tracks(names);
    ASSERT_EQ(::chmod((folder / "third.ogg").c_str(), 0640), 0);
    const struct timespec old[2] = {{1'100'000'000, 0}, {1'100'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (folder / "fifth.wav").c_str(), old, 0), 0);
    const auto before = test::FilesBelow(folder.path());
    // Made within a tick, the tracks may share a birth time; ties keep the listing's order.
    const Names loaded =
        Displays(LoadTracks(folder.path(), {PlayerType::CreationTimes}, SystemFileSystem()));
    const ino_t firstInode = Inode("first.mp3");
    const ino_t fifthInode = Inode("fifth.wav");
    // A track born in the present step of the clock cannot stay: a copy could share it.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));

    const Names order = {"first.mp3", "fifth.wav", longName, "Ünïcödé ♫.mp3", "third.ogg"};
    const TrackList reloaded = Run(order, SystemFileSystem());

    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_EQ(Displays(reloaded), order);
    EXPECT_EQ(test::FilesBelow(folder.path()), before); // no spare copy is left either
    // First in the list and born before the run, so it was left alone.
    EXPECT_EQ(Inode("first.mp3"), firstInode);
    struct stat info {};
    ASSERT_EQ(::stat((folder / "fifth.wav").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1'100'000'000);
    ASSERT_EQ(::stat((folder / "third.ogg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
    EXPECT_EQ(progress.maximum, 5);
    // The bar starts at the tracks left alone: first.mp3, and fifth.wav too when a tick of the
    // kernel's clock fell between their births (a slow, sanitized run), so that it is in order.
    EXPECT_EQ(progress.positions.front(), Inode("fifth.wav") == fifthInode ? 2 : 1);
    EXPECT_EQ(progress.positions.back(), 5);

    const std::optional<RunJournal> journal = test::JournalOf(journals.store, F());
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->state, JournalState::Done);
    ASSERT_EQ(journal->recreated.size(), 5U);
    EXPECT_EQ(journal->recreated[2].copy, "2.qz_copy");
    EXPECT_EQ(journal->recreated[2].size, before.at(longName).size());

    // And back.
    ArrangeRun run{SystemFileSystem(), failures, progress};
    EXPECT_EQ(jobs::UndoLastRun(F(), {PlayerType::CreationTimes}, run, journals.store).outcome,
              UndoOutcome::Undone);
    EXPECT_EQ(Displays(LoadTracks(folder.path(), {PlayerType::CreationTimes}, SystemFileSystem())),
              loaded);
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

// FAT keeps the seconds of a creation time in 2-second steps, and some players read no finer:
// each track is made in a later step than the one before, and no later than it must.
TEST_F(RecreationTest, OnFatEachTrackIsMadeInTheNextTwoSecondStep) {
    const Names names = {"a.mp3", "b.mp3", "c.mp3", "d.mp3"};
    Tracks(names);
    FakeClock clock;
    StampingFat fat(clock);
    for (std::size_t i = 0; i < names.size(); ++i) {
        fat.times[folder / names[i]] = clock.now - Second * 3600 + i * 3 * Second;
    }
    const FileTime kept = fat.times[folder / "d.mp3"];
    clock.now += Second / 2; // between two steps

    const Names order = {"d.mp3", "c.mp3", "b.mp3", "a.mp3"};
    EXPECT_EQ(TracksToRecreate(F(), order, fat, clock), 3U);
    EXPECT_EQ(Displays(Run(order, fat, clock)), order);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_EQ(fat.copies, 3);
    EXPECT_EQ(fat.times[folder / "d.mp3"], kept);
    FileTime last = kept;
    for (const char* name : {"c.mp3", "b.mp3", "a.mp3"}) {
        const FileTime step = fat.times[folder / name] / (2 * Second);
        EXPECT_GT(step, last / (2 * Second)) << name;
        if (last != kept) {
            EXPECT_EQ(step, last / (2 * Second) + 1) << name;
        }
        last = fat.times[folder / name];
    }
    // Each wait ends just past the start of the next step.
    for (const FileTime sleep : clock.sleeps) {
        EXPECT_LT(sleep % (2 * Second), Second / 10);
    }
}

TEST_F(RecreationTest, ACopyStampedTooEarlyByACoarseClockIsMadeAgain) {
    Tracks({"a.mp3", "b.mp3"});
    FakeClock clock;
    StampingFat fat(clock);
    fat.times[folder / "a.mp3"] = clock.now - 10 * Second;
    fat.times[folder / "b.mp3"] = clock.now - 20 * Second;
    // a.mp3 stays first; b.mp3's first copy lands in a.mp3's step all the same.
    fat.earlyStamps = 8 * Second;
    clock.now -= 9 * Second;
    EXPECT_EQ(Displays(Run({"a.mp3", "b.mp3"}, fat, clock)), (Names{"a.mp3", "b.mp3"}));
    EXPECT_EQ(fat.copies, 2);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

TEST_F(RecreationTest, AVolumeWithoutRoomForTheLargestCopyIsRefusedBeforeAnythingChanges) {
    folder.WriteFile("small.mp3", std::string(1000, 's'));
    folder.WriteFile("large.mp3", std::string(3 << 20, 'l'));
    FakeClock clock;
    StampingFat fat(clock);
    fat.times[folder / "small.mp3"] = clock.now - 10 * Second;
    fat.times[folder / "large.mp3"] = clock.now - 20 * Second;
    fat.freeBytes = 2 << 20;
    const auto before = test::FilesBelow(folder.path());

    Run({"small.mp3", "large.mp3"}, fat, clock);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::NoRoomToRecreate});
    EXPECT_EQ(failures.failures[0].path, folder / "large.mp3");
    EXPECT_EQ(failures.failures[0].needed, 3u << 20);
    EXPECT_EQ(failures.failures[0].available, 2u << 20);
    EXPECT_EQ(fat.copies, 0);
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_FALSE(test::JournalOf(journals.store, F())); // nothing to undo
}

// Without the journal a copy cannot be told from a track by its name: it goes only where
// another file holds its bytes.
TEST_F(RecreationTest, WithoutTheJournalOnlyCopiesThatAnotherFileCoversAreRemoved) {
    const std::string track = test::TaggedMp3({.title = "Song"}, 3);
    folder.WriteFile("Song.mp3", track);
    folder.WriteFile("0.qz_copy", track.substr(0, track.size() / 2)); // cut off while written
    folder.WriteFile("1.qz_copy", track);
    folder.WriteFile("2.qz_copy", "something else");
    ASSERT_TRUE(NeedsRecovery(F(), SystemFileSystem(), journals.store));

    const RecoveryReport report = RecoverFolder(F(), SystemFileSystem(), journals.store);
    Names files;
    for (const auto& [name, content] : test::FilesBelow(folder.path())) {
        files.push_back(name);
    }
    EXPECT_EQ(files, (Names{"2.qz_copy", "Song.mp3"}));
    ASSERT_EQ(report.notRestored.size(), 1U);
    EXPECT_EQ(report.notRestored[0].name, "2.qz_copy");
    EXPECT_EQ(report.notRestored[0].reason, NotRestored::Reason::IncompleteCopy);
}

// With the journal, a file under a run's temporary name whose size is not the track's was
// not made by the run: it stays, and is reported.
TEST_F(RecreationTest, WithTheJournalAFileOfAnotherSizeIsNotTakenForTheOriginal) {
    Tracks({"a.mp3", "b.mp3"});
    RunJournal journal =
        NewJournal({PlayerType::CreationTimes}, F(),
                   Arranged(PlayerType::CreationTimes, {"b.mp3", "a.mp3"}), SystemFileSystem());
    ASSERT_EQ(journal.recreated.size(), 2U);
    ASSERT_TRUE(journals.store.Write(F(), FormatJournal(journal)));
    // b.mp3 as the run leaves it between its two renames, a stranger in a.mp3's place.
    ASSERT_EQ(::rename((folder / "b.mp3").c_str(), (folder / "0.qz_temp").c_str()), 0);
    folder.WriteFile("1.qz_temp", "a stranger");

    const RecoveryReport report = RecoverFolder(F(), SystemFileSystem(), journals.store);
    EXPECT_TRUE(std::filesystem::exists(folder / "b.mp3"));
    EXPECT_EQ(test::ReadFile(folder / "1.qz_temp"), "a stranger");
    ASSERT_EQ(report.notRestored.size(), 1U);
    EXPECT_EQ(report.notRestored[0].name, "1.qz_temp");
    EXPECT_EQ(report.notRestored[0].reason, NotRestored::Reason::NotIdentified);
}

// On FAT a renamed file's entry holds no data until its record is written back: a power cut
// can leave an empty entry where a track had bytes. The whole file comes back in its place.
TEST_F(RecreationTest, EmptyEntriesThatAPowerCutLeftGiveWayToTheWholeFile) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    const auto before = test::FilesBelow(folder.path());
    const RunJournal journal = NewJournal(
        {PlayerType::CreationTimes}, F(),
        Arranged(PlayerType::CreationTimes, {"a.mp3", "b.mp3", "c.mp3"}), SystemFileSystem());
    ASSERT_TRUE(journals.store.Write(F(), FormatJournal(journal)));
    // a.mp3 cut off as it became 0.qz_temp: that entry empty, the copy whole.
    ASSERT_EQ(::rename((folder / "a.mp3").c_str(), (folder / "0.qz_copy").c_str()), 0);
    folder.WriteFile("0.qz_temp", "");
    // b.mp3 cut off as its copy took its name: that entry empty, the original whole.
    ASSERT_EQ(::rename((folder / "b.mp3").c_str(), (folder / "1.qz_temp").c_str()), 0);
    folder.WriteFile("b.mp3", "");
    // c.mp3 done but for removing the original.
    folder.WriteFile("2.qz_temp", before.at("c.mp3"));

    const RecoveryReport report = RecoverFolder(F(), SystemFileSystem(), journals.store);
    EXPECT_TRUE(report.complete()) << report.notRestored.front().name;
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_FALSE(test::JournalOf(journals.store, F()));
}

} // namespace
} // namespace tralvo
