// Putting a player folder back together after a run that was cut off: at every point of every
// strategy with the run's journal, without a journal from what the folder holds, and never by
// overwriting anything.
#include "arrange/arrange_tracks.h"
#include "arrange/recovery.h"
#include "arrange/temporary_file_title.h"
#include "arrange/track_loading.h"
#include "jobs/arrange_folder.h"
#include "journal_test_support.h"
#include "media/sound_file.h"
#include "platform/unique_fd.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;
using namespace std::string_literals;
using Files = std::map<std::string, std::string>;

struct CutCase {
    PlayerType type;
    const char* name;
    bool madeAnew = false; // creation times that cannot be set: the tracks are made anew
};

class CutOffRun : public testing::TestWithParam<CutCase> {};

// The run is stopped after each of its changes in turn, as a kill would stop it; the recovery
// with its journal then brings every file back byte for byte under its own name (a file-name
// run whose renames were all done stays done), leaves no temporary folder or name, and the
// folder can be arranged again.
TEST_P(CutOffRun, RecoveryBringsEveryFileBackWhereverTheRunStopped) {
    const PlayerType type = GetParam().type;
    // {1}x.mp3 and {2}x.mp3 swap their names in a file-name run.
    const std::vector<std::string> names = {"{07}Alpha.mp3", "Beta Song.mp3", ".hidden.ogg",
                                            "{1}x.mp3", "{2}x.mp3"};
    for (int stopAfter = 1;; ++stopAfter) {
        test::TempFolder folder;
        const std::string f = folder.path() + "/";
        test::TestJournals journals;
        test::RecordedFailures failures;
        test::RecordedProgress progress;
        for (std::size_t i = 0; i < names.size(); ++i) {
            folder.WriteFile(names[i], test::TaggedMp3({.title = names[i]}, 1 + i));
        }
        folder.WriteFile("notes.txt", "notes");
        folder.MakeFolder("Covers");
        folder.WriteFile("Covers/front.jpg", "jpeg");
        const Files original = test::FilesBelow(folder.path());

        test::DirectoryOrderFileSystem fat;
        test::TimedFileSystem timed(fat);
        for (std::size_t i = 0; i < names.size(); ++i) {
            timed.times[folder / names[i]] = media::DateTimeToFileTime(40000.0 + double(i));
        }
        const auto originalTimes = timed.times;
        FileSystem& base = GetParam().madeAnew ? static_cast<FileSystem&>(fat) : timed;
        test::Stop stop{stopAfter};
        test::StoppingFileSystem fs(stop, base);
        test::StoppingJournals stopping(stop, journals.store);
        TrackList tracks = LoadTracks(folder.path(), {type}, base);
        std::vector<std::size_t> reversed;
        for (std::size_t i = tracks.size(); i-- > 0;) {
            reversed.push_back(i);
        }
        tracks.Reorder(reversed);
        std::vector<std::string> displays;
        for (const TrackEntry& track : tracks) {
            displays.push_back(track.display);
        }
        ArrangeRun run{fs, failures, progress};
        ASSERT_TRUE(ArrangeTracks({type}, f, tracks, run, stopping).Changed());
        if (!stop.reached()) {
            // The run ended before this stop: every point of it has been tried.
            EXPECT_GT(stopAfter, 1);
            EXPECT_EQ(test::JournalOf(journals.store, f)->state, JournalState::Done);
            break;
        }
        const std::string at = "stopped after change " + std::to_string(stopAfter);
        if (type != PlayerType::CreationTimes || GetParam().madeAnew) {
            EXPECT_TRUE(NeedsRecovery(f, base, journals.store)) << at;
        }

        const RecoveryReport report = RecoverFolder(f, base, journals.store);
        EXPECT_TRUE(report.usedJournal) << at;
        EXPECT_TRUE(report.complete()) << at << ": " << report.notRestored.front().name;
        const Files after = test::FilesBelow(folder.path());
        const std::optional<RunJournal> left = test::JournalOf(journals.store, f);
        if (type == PlayerType::FileNames && report.steps.empty()) {
            // Stopped after its last rename: the run is done, and undoable.
            EXPECT_EQ(test::Contents(after), test::Contents(original)) << at;
            EXPECT_TRUE(stdfs::exists(folder / "{1}x.mp3")) << at;
            ASSERT_TRUE(left) << at;
            EXPECT_EQ(left->state, JournalState::Done) << at;
        } else {
            EXPECT_EQ(after, original) << at;
            EXPECT_FALSE(left && left->state != JournalState::Done) << at;
        }
        if (type == PlayerType::CreationTimes) {
            EXPECT_EQ(timed.times, originalTimes) << at;
        }
        EXPECT_FALSE(NeedsRecovery(f, base, journals.store)) << at;

        // The user presses Tralvo again.
        failures.clear();
        const TrackList again = test::Arranged(folder.path(), type, displays, base);
        ArrangeRun rerun{base, failures, progress};
        const jobs::JobOutcome outcome =
            jobs::ArrangeFolder(f, {type}, again, rerun, journals.store);
        ASSERT_TRUE(outcome.changed);
        EXPECT_TRUE(outcome.orderMatches) << at;
        EXPECT_TRUE(failures.empty()) << at;
    }
}

INSTANTIATE_TEST_SUITE_P(Strategies, CutOffRun,
                         testing::Values(CutCase{PlayerType::DirectoryOrder, "DirectoryOrder"},
                                         CutCase{PlayerType::FileNames, "FileName"},
                                         CutCase{PlayerType::CreationTimes, "CreationTime"},
                                         CutCase{PlayerType::CreationTimes, "CreationTimeMadeAnew",
                                                 true}),
                         [](const auto& param) { return std::string(param.param.name); });

std::string Mp3Titled(const std::string& title, std::size_t frames = 1) {
    return test::TaggedMp3({.title = title}, frames);
}

TEST(RecoveryWithoutJournal, EmptiesTheTemporaryFoldersAndNamesTemporaryFilesByTheirTitles) {
    test::TempFolder folder;
    test::TestJournals journals;
    const std::string f = folder.path() + "/";
    folder.MakeFolder("QZ_TEMP2/Sub");
    folder.WriteFile("QZ_TEMP2/a.mp3", "a");
    folder.WriteFile("QZ_TEMP2/Sub/inner.txt", "inner");
    folder.MakeFolder("QZ_TEMP1");
    folder.WriteFile("QZ_TEMP1/b.mp3", "b");
    folder.WriteFile("QZ_TEMP1/c.mp3", "c in the way");
    folder.WriteFile("c.mp3", "c");
    folder.WriteFile("0.qz_temp", Mp3Titled("Song: One/Two", 1));
    folder.WriteFile("1.qz_temp", Mp3Titled("Twin", 2));
    folder.WriteFile("2.qz_temp", Mp3Titled("twin", 3));
    folder.WriteFile("3.qz_temp", "hello, not a sound");
    folder.WriteFile("4.qz_temp", test::UntaggedMp3(4));
    folder.WriteFile("5.qz_temp", Mp3Titled("c", 5));
    folder.WriteFile("6.qz_temp", "RIFF\x24\0\0\0WAVEfmt "s);
    folder.WriteFile("10.qz_temp", Mp3Titled("Ten", 6));
    const Files before = test::FilesBelow(folder.path());

    ASSERT_TRUE(NeedsRecovery(f, SystemFileSystem(), journals.store));
    const RecoveryReport report = RecoverFolder(f, SystemFileSystem(), journals.store);
    EXPECT_FALSE(report.usedJournal);

    const Files after = test::FilesBelow(folder.path());
    EXPECT_EQ(test::Contents(after), test::Contents(before));
    EXPECT_EQ(after.at("a.mp3"), "a");
    EXPECT_EQ(after.at("Sub/inner.txt"), "inner");
    EXPECT_EQ(after.at("b.mp3"), "b");
    EXPECT_EQ(after.at("c.mp3"), "c");
    EXPECT_EQ(after.at("QZ_TEMP1/c.mp3"), "c in the way");
    EXPECT_EQ(after.at("Song_ One_Two.mp3"), before.at("0.qz_temp"));
    EXPECT_EQ(after.at("Ten.mp3"), before.at("10.qz_temp"));
    EXPECT_FALSE(stdfs::exists(folder / "QZ_TEMP2"));

    std::map<std::string, NotRestored::Reason> kept;
    for (const NotRestored& entry : report.notRestored) {
        kept[entry.name] = entry.reason;
    }
    using Reason = NotRestored::Reason;
    EXPECT_EQ(kept, (std::map<std::string, Reason>{{"QZ_TEMP1/c.mp3", Reason::NameTaken},
                                                   {"1.qz_temp", Reason::TitleNotUnique},
                                                   {"2.qz_temp", Reason::TitleNotUnique},
                                                   {"3.qz_temp", Reason::UnknownKind},
                                                   {"4.qz_temp", Reason::NoTitle},
                                                   {"5.qz_temp", Reason::NameTaken},
                                                   {"6.qz_temp", Reason::NoTitle}}));
    // What could not be restored is all that still needs it.
    EXPECT_TRUE(NeedsRecovery(f, SystemFileSystem(), journals.store));
}

TEST(RecoveryWithoutJournal, AGarbledJournalIsPassedOver) {
    test::TempFolder folder;
    test::TestJournals journals;
    const std::string f = folder.path() + "/";
    folder.MakeFolder("QZ_TEMP1");
    folder.WriteFile("QZ_TEMP1/a.mp3", "a");
    ASSERT_TRUE(journals.store.Write(f, "Tralvo run journal 1\nfolder\t/el"));
    const RecoveryReport report = RecoverFolder(f, SystemFileSystem(), journals.store);
    EXPECT_FALSE(report.usedJournal);
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(test::FilesBelow(folder.path()), (Files{{"a.mp3", "a"}}));
}

// The temporary folders' names are the run's alone, as files or folders in any case: a run
// beside such an entry would move it into its own temporary folder.
TEST(RecoveryWithJournal, ADirectoryOrderRunDoesNotStartBesideAnEntryOfATemporaryName) {
    for (const auto& [name, isFolder] :
         {std::pair{"QZ_TEMP1", true}, std::pair{"qz_temp2", false}, std::pair{"Qz_Temp2", true}}) {
        test::TempFolder folder;
        test::TestJournals journals;
        test::RecordedFailures failures;
        test::RecordedProgress progress;
        const std::string f = folder.path() + "/";
        folder.WriteFile("A.mp3", Mp3Titled("A"));
        folder.WriteFile("B.mp3", Mp3Titled("B"));
        if (isFolder) {
            folder.MakeFolder(name);
            folder.WriteFile(std::string(name) + "/mine.txt", "mine");
        } else {
            folder.WriteFile(name, "mine");
        }
        const Files before = test::FilesBelow(folder.path());
        const TrackList tracks = test::Arranged(folder.path(), PlayerType::DirectoryOrder,
                                                {"B.mp3", "A.mp3"}, SystemFileSystem());
        ArrangeRun run{SystemFileSystem(), failures, progress};
        EXPECT_EQ(
            ArrangeTracks({PlayerType::DirectoryOrder}, f, tracks, run, journals.store).outcome,
            RunOutcome::Refused)
            << name;
        ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::ReservedEntry}) << name;
        EXPECT_EQ(failures.failures[0].path, f + name);
        EXPECT_EQ(test::FilesBelow(folder.path()), before) << name;
        EXPECT_FALSE(test::JournalOf(journals.store, f)) << name;
    }
}

// On a disk that tells letter case apart, "qz_temp1" is not the run's "QZ_TEMP1".
TEST(RecoveryWithJournal, AUsersFolderInAnotherCaseStaysWhereCaseCounts) {
    test::TempFolder folder;
    test::TestJournals journals;
    const std::string f = folder.path() + "/";
    ASSERT_FALSE(SystemFileSystem().FoldsCase(f));
    folder.MakeFolder("qz_temp1");
    folder.WriteFile("qz_temp1/mine.mp3", Mp3Titled("Mine"));
    EXPECT_FALSE(NeedsRecovery(f, SystemFileSystem(), journals.store));
    const RecoveryReport report = RecoverFolder(f, SystemFileSystem(), journals.store);
    EXPECT_TRUE(report.complete());
    EXPECT_TRUE(report.steps.empty());
    EXPECT_TRUE(stdfs::exists(folder.path() + "/qz_temp1/mine.mp3"));
}

TEST(RecoveryWithJournal, AnEntryWhoseNameIsTakenStaysAndIsReported) {
    test::TempFolder folder;
    test::TestJournals journals;
    const std::string f = folder.path() + "/";
    RunJournal journal;
    journal.folder = f;
    journal.strategy = PlayerType::DirectoryOrder;
    journal.before = {"a.mp3", "b.mp3"};
    journal.arranged = {{"b.mp3", "b.mp3", std::nullopt}, {"a.mp3", "a.mp3", std::nullopt}};
    journal.others = {"notes.txt"};
    ASSERT_TRUE(journals.store.Write(f, FormatJournal(journal)));
    folder.MakeFolder("QZ_TEMP2");
    folder.WriteFile("QZ_TEMP2/a.mp3", "a");
    folder.WriteFile("QZ_TEMP2/b.mp3", "b");
    folder.WriteFile("b.mp3", "a new b");
    folder.WriteFile("notes.txt", "notes");

    const RecoveryReport report = RecoverFolder(f, SystemFileSystem(), journals.store);
    EXPECT_TRUE(report.usedJournal);
    ASSERT_EQ(report.notRestored.size(), 1u);
    EXPECT_EQ(report.notRestored[0].name, "QZ_TEMP2/b.mp3");
    EXPECT_EQ(report.notRestored[0].reason, NotRestored::Reason::NameTaken);
    EXPECT_EQ(test::FilesBelow(folder.path()), (Files{{"a.mp3", "a"},
                                                      {"b.mp3", "a new b"},
                                                      {"notes.txt", "notes"},
                                                      {"QZ_TEMP2/b.mp3", "b"}}));
    // Kept for another try, which finds the same and knows the folder is half put back.
    EXPECT_EQ(test::JournalOf(journals.store, f)->state, JournalState::Recovering);
    EXPECT_EQ(RecoverFolder(f, SystemFileSystem(), journals.store).notRestored.size(), 1u);
}

TEST(OfferRecovery, AsksFirstAndTellsWhatCameOfIt) {
    test::TempFolder folder;
    test::TestJournals journals;
    const std::string f = folder.path() + "/";
    folder.WriteFile("a.mp3", "a");
    test::ScriptedRecoveryDialogue dialogue;
    EXPECT_FALSE(OfferRecovery(f, SystemFileSystem(), dialogue, journals.store));
    EXPECT_TRUE(dialogue.asked.empty());

    folder.MakeFolder("QZ_TEMP1");
    folder.WriteFile("QZ_TEMP1/b.mp3", "b");
    dialogue.answers = {false};
    EXPECT_FALSE(OfferRecovery(f, SystemFileSystem(), dialogue, journals.store));
    EXPECT_EQ(dialogue.asked, std::vector<std::string>{f});
    EXPECT_TRUE(dialogue.told.empty());
    EXPECT_TRUE(stdfs::exists(folder / "QZ_TEMP1/b.mp3"));

    EXPECT_TRUE(OfferRecovery(f, SystemFileSystem(), dialogue, journals.store));
    ASSERT_EQ(dialogue.told.size(), 1u);
    EXPECT_TRUE(dialogue.told[0].complete());
    EXPECT_EQ(test::FilesBelow(folder.path()), (Files{{"a.mp3", "a"}, {"b.mp3", "b"}}));

    folder.WriteFile("7.qz_temp", "no sound");
    EXPECT_TRUE(OfferRecovery(f, SystemFileSystem(), dialogue, journals.store));
    ASSERT_EQ(dialogue.told.size(), 2u);
    ASSERT_EQ(dialogue.told[1].notRestored.size(), 1u);
    EXPECT_EQ(dialogue.told[1].notRestored[0].name, "7.qz_temp");
    EXPECT_EQ(dialogue.told[1].notRestored[0].reason, NotRestored::Reason::UnknownKind);
}

TEST(TemporaryFiles, TheKindComesFromTheFirstBytes) {
    using namespace std::string_literals;
    EXPECT_EQ(SniffSoundKind("ID3\x03\x00"s), media::KindMp3);
    EXPECT_EQ(SniffSoundKind("\xFF\xFB\x90\x00"), media::KindMp3);
    EXPECT_EQ(SniffSoundKind("OggS\x00\x02"s), media::KindOggVorbis);
    EXPECT_EQ(SniffSoundKind("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C"s),
              media::KindWma);
    EXPECT_EQ(SniffSoundKind("RIFF\x10\0\0\0WAVE"s), media::KindWav);
    EXPECT_EQ(SniffSoundKind("RIFF\x10\0\0\0AVI "s), media::KindUnknown);
    EXPECT_EQ(SniffSoundKind("\xFF"), media::KindUnknown);
    EXPECT_EQ(SniffSoundKind(""), media::KindUnknown);
    EXPECT_EQ(SniffSoundKindOf("/nonexistent/file"), media::KindUnknown);
}

// The recovery reads the bytes of a track on the player through the file system it was given.
TEST(TemporaryFiles, TheKindIsSniffedThroughTheFileSystemGiven) {
    struct NoOpens : test::ForwardingFileSystem {
        Status OpenForReading(const std::string& path, UniqueFd&) override {
            return Status::Failure(EIO, "open " + path);
        }
    } noOpens;
    test::TempFolder folder;
    const std::string track = folder.WriteFile("7.qz_temp", test::TaggedMp3({.title = "x"}, 1));
    EXPECT_EQ(SniffSoundKindOf(track), media::KindMp3);
    EXPECT_EQ(SniffSoundKindOf(track, noOpens), media::KindUnknown);
}

TEST(TemporaryFiles, ATitleBecomesAFileNameThatFatTakes) {
    EXPECT_EQ(FileNameFromTitle("a/b\\c:d*e?f\"g<h>i|j\x01k"), "a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(FileNameFromTitle("Caf\xC3\xA9"), "Caf\xC3\xA9");
    // Cut at a character's start: a two-byte character never loses its second byte.
    const std::string longTitle = std::string(249, 'x') + "\xC3\xA9" + "yyy";
    EXPECT_EQ(FileNameFromTitle(longTitle), std::string(249, 'x'));
}

} // namespace
} // namespace tralvo
