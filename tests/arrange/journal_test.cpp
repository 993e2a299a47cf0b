// The run journal: its text, its store in the state folder, and the run that writes it before
// the first change and keeps it as the record to undo the run by.
#include "arrange/arrange_tracks.h"
#include "arrange/player_order.h"
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "jobs/arrange_folder.h"
#include "journal_test_support.h"
#include "media/sound_file.h"
#include "platform/stop_signals.h"
#include "support/read_only_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tralvo {
namespace {

namespace stdfs = std::filesystem;

RunJournal SampleJournal() {
    RunJournal journal;
    journal.folder = "/media/PLAYER/Music \t\\ odd\xE9/";
    journal.strategy = PlayerType::FileNames;
    journal.only83FileNames = true;
    journal.state = JournalState::SecondPass;
    journal.before = {"b\nc.mp3", "a.mp3"};
    journal.volume = "1A2B-3C4D";
    journal.belowRoot = "/Music \t\\ odd\xE9/";
    journal.arranged = {{"a.mp3", "{2}a.mp3", std::nullopt, std::nullopt},
                        {"b\nc.mp3", "b\nc.mp3", 1234, ContentId{false, 5000, 0xfedcba9876543210}}};
    journal.renames = {{"{2}a.mp3", "0.qz_temp", "{1}a.mp3", true},
                       {"b\nc.mp3", "1.qz_temp", "{2}b\nc.mp3", false}};
    return journal;
}

bool SameJournal(const RunJournal& a, const RunJournal& b) {
    return FormatJournal(a) == FormatJournal(b);
}

TEST(JournalText, ReadsBackEveryFieldWhateverBytesTheNamesHold) {
    const RunJournal journal = SampleJournal();
    const std::string text = FormatJournal(journal);
    // One record per line, whatever the names hold.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14);
    const std::optional<RunJournal> back = ParseJournal(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->folder, journal.folder);
    EXPECT_EQ(back->strategy, PlayerType::FileNames);
    EXPECT_TRUE(back->only83FileNames);
    EXPECT_EQ(back->state, JournalState::SecondPass);
    EXPECT_EQ(back->before, journal.before);
    EXPECT_EQ(back->arranged[1].name, "b\nc.mp3");
    EXPECT_EQ(back->arranged[1].creationTime, 1234u);
    EXPECT_FALSE(back->arranged[0].creationTime);
    EXPECT_FALSE(back->arranged[0].content);
    EXPECT_EQ(back->arranged[1].content, (ContentId{false, 5000, 0xfedcba9876543210}));
    EXPECT_EQ(back->volume, "1A2B-3C4D");
    EXPECT_EQ(back->belowRoot, journal.belowRoot);
    EXPECT_TRUE(back->renames[0].atTemporary);
    EXPECT_EQ(back->renames[1].to, "{2}b\nc.mp3");
    EXPECT_TRUE(SameJournal(*back, journal));
}

// A journal steers renames: whatever is not exactly what this version writes is refused.
TEST(JournalText, RefusesTruncatedGarbledAndUnsafeJournals) {
    const std::string text = FormatJournal(SampleJournal());
    for (std::size_t length = 0; length < text.size(); ++length) {
        EXPECT_FALSE(ParseJournal(text.substr(0, length))) << "cut at " << length;
    }
    const auto changed = [&](std::string_view from, std::string_view to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return ParseJournal(std::string(text).replace(at, from.size(), to));
    };
    EXPECT_FALSE(changed("journal 2", "journal 3"));
    EXPECT_FALSE(changed("\tf:1388:", "\tx:1388:"));
    EXPECT_FALSE(changed("\tf:1388:", "\tf:13g8:"));
    EXPECT_FALSE(changed("\tf:1388:fedcba9876543210", "\tf:1388"));
    EXPECT_FALSE(changed("volume\t1A2B-3C4D\t/", "volume\t1A2B-3C4D\trelative/"));
    EXPECT_FALSE(changed("strategy\t1", "strategy\t3"));
    EXPECT_FALSE(changed("rename\t{2}a.mp3", "rename\t../a.mp3"));
    EXPECT_FALSE(changed("rename\t{2}a.mp3", "rename\tsub/a.mp3"));
    EXPECT_FALSE(changed("0.qz_temp", "7.qz_temp"));
    EXPECT_FALSE(changed("\t1234\t", "\t12x4\t"));
    EXPECT_FALSE(changed("\\xE9", "\\xG9"));
    EXPECT_FALSE(changed("only83\t1\n", "only83\t1\nonly83\t0\n"));
    EXPECT_FALSE(changed("before\ta.mp3\n", ""));
    EXPECT_FALSE(changed("end\n", "end\nend\n"));
    EXPECT_FALSE(changed("folder\t/", "folder\t"));
    EXPECT_FALSE(ParseJournal("\xFF\xFE garbage"));
}

// Journals of the version before tracks were known by their bytes are still read, without.
TEST(JournalText, ReadsTheFirstVersionWhichKnowsNoContentOrVolume) {
    const std::string text = "Tralvo run journal 1\nfolder\t/p/\nstrategy\t1\nonly83\t0\n"
                             "undo\t0\nstate\trunning\nbefore\ta.mp3\n"
                             "track\ta.mp3\ta.mp3\t-\nrename\ta.mp3\t0.qz_temp\t{1}a.mp3\t0\n"
                             "end\n";
    const std::optional<RunJournal> back = ParseJournal(text);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->arranged[0].content);
    EXPECT_EQ(back->volume, "");
    // A version 2 record in a version 1 journal is not one this version wrote.
    EXPECT_FALSE(
        ParseJournal(std::string(text).replace(text.find("end"), 3, "volume\tX\t/p/\nend")));
}

// Creation times made anew: one record per track, under the names the run gives them.
TEST(JournalText, RecreationRecordsComeBackAndMustNameTheTracksOwnTemporaryFiles) {
    RunJournal journal = SampleJournal();
    journal.strategy = PlayerType::CreationTimes;
    journal.state = JournalState::Running;
    journal.renames.clear();
    journal.recreated = {{"0.qz_copy", "0.qz_temp", 4096}, {"1.qz_copy", "1.qz_temp", 7}};
    const std::string text = FormatJournal(journal);
    const std::optional<RunJournal> back = ParseJournal(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->recreated[0].size, 4096U);
    EXPECT_EQ(back->recreated[1].backup, "1.qz_temp");
    EXPECT_TRUE(SameJournal(*back, journal));

    const auto changed = [&](std::string_view from, std::string_view to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return ParseJournal(std::string(text).replace(at, from.size(), to));
    };
    EXPECT_FALSE(changed("1.qz_copy", "0.qz_copy"));
    EXPECT_FALSE(changed("1.qz_temp\t7", "../x\t7"));
    EXPECT_FALSE(changed("\t7\n", "\t-\n"));
    EXPECT_FALSE(changed("recreate\t1.qz_copy\t1.qz_temp\t7\n", ""));
    EXPECT_FALSE(changed("strategy\t2", "strategy\t0"));
    EXPECT_TRUE(IsCopyName("12.QZ_COPY"));
    EXPECT_FALSE(IsCopyName("12.qz_temp"));
    EXPECT_FALSE(IsCopyName("x1.qz_copy"));
}

TEST(JournalText, TemporaryNamesAreDigitsAndTheSuffix) {
    EXPECT_EQ(TemporaryName(12), "12.qz_temp");
    EXPECT_TRUE(IsTemporaryName("0.qz_temp"));
    EXPECT_TRUE(IsTemporaryName("123.QZ_TEMP"));
    EXPECT_FALSE(IsTemporaryName(".qz_temp"));
    EXPECT_FALSE(IsTemporaryName("1a.qz_temp"));
    EXPECT_FALSE(IsTemporaryName("1.qz_temp.mp3"));
}

TEST(JournalStore, WritesOneFilePerFolderNamedByTheHashOfItsPathInAPrivateFolder) {
    test::TempFolder state;
    StateFolderJournals journals(state / "deeper/tralvo");
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325u);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cu);
    const std::string path = journals.PathOf("/media/PLAYER/");
    char expected[32];
    std::snprintf(expected, sizeof expected, "/%016llx.journal",
                  static_cast<unsigned long long>(Fnv1a64("/media/PLAYER/")));
    EXPECT_EQ(path, state / "deeper/tralvo" + expected);

    std::string text;
    EXPECT_EQ(journals.Read("/media/PLAYER/", text).code(), ENOENT);
    ASSERT_TRUE(journals.Write("/media/PLAYER/", "first"));
    ASSERT_TRUE(journals.Write("/media/PLAYER/", "second"));
    ASSERT_TRUE(journals.Write("/media/OTHER/", "other"));
    ASSERT_TRUE(journals.Read("/media/PLAYER/", text));
    EXPECT_EQ(text, "second");
    // Only the journals themselves: no half-written file is left beside them.
    std::vector<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(state / "deeper/tralvo")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names.size(), 2u);
    for (const std::string folder : {"deeper", "deeper/tralvo"}) {
        struct stat info {};
        ASSERT_EQ(::stat((state / folder).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    ASSERT_TRUE(journals.Remove("/media/PLAYER/"));
    EXPECT_TRUE(journals.Remove("/media/PLAYER/"));
    EXPECT_EQ(journals.Read("/media/PLAYER/", text).code(), ENOENT);
}

TEST(JournalStore, TheUserStateFolderFollowsXdgStateHomeElseHome) {
    const std::string oldState = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_STATE_HOME", "/somewhere/state", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(UserStateFolder(), "/somewhere/state/tralvo");
    ::setenv("XDG_STATE_HOME", "relative/state", 1);
    EXPECT_EQ(UserStateFolder(), "/home/someone/.local/state/tralvo");
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(UserStateFolder(), "/home/someone/.local/state/tralvo");
    ::setenv("HOME", oldHome.c_str(), 1);
    if (!oldState.empty()) {
        ::setenv("XDG_STATE_HOME", oldState.c_str(), 1);
    }
}

using JournaledRunTest = test::JournaledFolderTest;

// What the journal said when the run made its first change, and when the file-name run
// started its second pass.
class JournalWatch : public test::ForwardingFileSystem {
public:
    JournalWatch(JournalStore& journals, std::string folder)
        : journals_(journals), folder_(std::move(folder)) {}
    std::optional<RunJournal> atFirstChange;
    std::optional<RunJournal> atSecondPass;

    Status Rename(const std::string& from, const std::string& to) override {
        if (!atFirstChange) {
            atFirstChange = test::JournalOf(journals_, folder_);
        }
        if (from.ends_with(".qz_temp") && !atSecondPass) {
            atSecondPass = test::JournalOf(journals_, folder_);
        }
        return ForwardingFileSystem::Rename(from, to);
    }
    Status CreateFolder(const std::string& path) override {
        if (!atFirstChange) {
            atFirstChange = test::JournalOf(journals_, folder_);
        }
        return ForwardingFileSystem::CreateFolder(path);
    }

private:
    JournalStore& journals_;
    std::string folder_;
};

TEST_F(JournaledRunTest, TheJournalIsWrittenBeforeTheFirstChangeAndKeptAsTheRecordAfterwards) {
    Tracks({"A.mp3", "B.mp3", "C.mp3"});
    folder.WriteFile("notes.txt", "notes");
    folder.MakeFolder("Covers");
    test::DirectoryOrderFileSystem fat;
    JournalWatch fs(journals.store, F());
    const TrackList tracks = Arranged(PlayerType::DirectoryOrder, {"C.mp3", "A.mp3", "B.mp3"}, fat);
    const std::vector<ListedTrack> before =
        ListPlayerOrder(folder.path(), {PlayerType::DirectoryOrder}, fat);
    ArrangeRun run{fs, failures, progress};
    ASSERT_TRUE(
        ArrangeTracks({PlayerType::DirectoryOrder}, F(), tracks, run, journals.store).Changed());

    ASSERT_TRUE(fs.atFirstChange);
    const RunJournal& first = *fs.atFirstChange;
    EXPECT_EQ(first.state, JournalState::Running);
    EXPECT_EQ(first.folder, F());
    EXPECT_EQ(first.strategy, PlayerType::DirectoryOrder);
    ASSERT_EQ(first.before.size(), 3u);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(first.before[i], before[i].display);
    }
    ASSERT_EQ(first.arranged.size(), 3u);
    EXPECT_EQ(first.arranged[0].name, "C.mp3");
    std::vector<std::string> others = first.others;
    std::sort(others.begin(), others.end());
    EXPECT_EQ(others, (std::vector<std::string>{"Covers", "notes.txt"}));

    const std::optional<RunJournal> record = test::JournalOf(journals.store, F());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->state, JournalState::Done);
    EXPECT_TRUE(failures.empty());
    // Nothing of it in the player folder.
    EXPECT_EQ(test::FilesBelow(folder.path()).size(), 4u);
}

TEST_F(JournaledRunTest, TheSecondPassWaitsForTheJournalToSayWhichTracksWearTemporaryNames) {
    Tracks({"{2}b.mp3", "a.ogg", "{1}c.wma"});
    folder.WriteFile("1.qz_temp", "left by an earlier run");
    JournalWatch fs(journals.store, F());
    const TrackList tracks = Arranged(PlayerType::FileNames, {"b.mp3", "a.ogg", "c.wma"});
    ArrangeRun run{fs, failures, progress};
    ASSERT_TRUE(ArrangeTracks({PlayerType::FileNames}, F(), tracks, run, journals.store).Changed());
    ASSERT_TRUE(fs.atSecondPass);
    EXPECT_EQ(fs.atSecondPass->state, JournalState::SecondPass);
    const std::vector<JournalRename>& renames = fs.atSecondPass->renames;
    ASSERT_EQ(renames.size(), 3u);
    EXPECT_EQ(renames[0].from, "{2}b.mp3");
    EXPECT_EQ(renames[0].to, "{1}b.mp3");
    // a.ogg could not take the stray 1.qz_temp.
    EXPECT_EQ(
        (std::vector<bool>{renames[0].atTemporary, renames[1].atTemporary, renames[2].atTemporary}),
        (std::vector<bool>{true, false, true}));
}

// A player pulled out at the end of a run may not hold what the run did: the folder's changes
// are flushed to it before the journal becomes the record, and when that fails the journal
// stays for the recovery.
class FailingFlush : public test::ForwardingFileSystem {
public:
    std::vector<std::string> flushed;
    bool fails = false;
    Status Flush(const std::string& folder) override {
        flushed.push_back(folder);
        return fails ? Status::Failure(EIO, "flush " + folder) : Status::Ok();
    }
};

TEST_F(JournaledRunTest, TheFolderIsFlushedBeforeTheJournalBecomesTheRecord) {
    Tracks({"a.mp3", "b.mp3"});
    FailingFlush fs;
    ArrangeRun run{fs, failures, progress};
    ASSERT_TRUE(ArrangeTracks({PlayerType::FileNames}, F(),
                              Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"}), run,
                              journals.store)
                    .Changed());
    ASSERT_FALSE(fs.flushed.empty());
    EXPECT_EQ(fs.flushed.back(), F());
    EXPECT_EQ(test::JournalOf(journals.store, F())->state, JournalState::Done);

    fs.fails = true;
    ASSERT_TRUE(ArrangeTracks({PlayerType::FileNames}, F(),
                              Arranged(PlayerType::FileNames, {"a.mp3", "b.mp3"}), run,
                              journals.store)
                    .Changed());
    EXPECT_NE(test::JournalOf(journals.store, F())->state, JournalState::Done);
    EXPECT_TRUE(NeedsRecovery(F(), fs, journals.store));
    EXPECT_TRUE(failures.empty());
}

TEST_F(JournaledRunTest, AJournalThatCannotBeWrittenStopsTheRunBeforeAnythingMoves) {
    Tracks({"A.mp3", "B.mp3"});
    const std::string state = journals.state.MakeFolder("locked");
    test::ReadOnlyFolder readOnly(state);
    if (!readOnly.active()) {
        GTEST_SKIP() << "cannot make a folder read-only here";
    }
    StateFolderJournals locked(state);
    for (const PlayerType type : AllPlayerTypes) {
        failures.clear();
        const auto before = test::FilesBelow(folder.path());
        test::TimedFileSystem fs;
        const TrackList tracks = Arranged(type, {"B.mp3", "A.mp3"}, fs);
        ArrangeRun run{fs, failures, progress};
        EXPECT_FALSE(ArrangeTracks({type}, F(), tracks, run, locked).Changed());
        EXPECT_EQ(test::FilesBelow(folder.path()), before);
        EXPECT_TRUE(fs.times.empty());
        ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::WriteJournal});
        EXPECT_EQ(failures.failures[0].path, locked.PathOf(F()));
        EXPECT_FALSE(failures.failures[0].status.ok());
        EXPECT_EQ(run.report.outcome, RunOutcome::Refused);
    }
}

// The second pass must not run on a stale journal. The run stops there and puts the tracks
// back from their temporary names, and says so: the folder was changed and changed back.
TEST_F(JournaledRunTest, ASecondPassWhoseJournalCannotBeWrittenPutsTheFolderBack) {
    Tracks({"a.mp3", "b.mp3"});
    struct OneWriteOnly : JournalStore {
        explicit OneWriteOnly(JournalStore& inner) : inner_(inner) {}
        std::string PathOf(const std::string& f) override { return inner_.PathOf(f); }
        Status Write(const std::string& f, const std::string& t) override {
            return ++writes_ > 1 ? Status::Failure(EIO, "full") : inner_.Write(f, t);
        }
        Status Read(const std::string& f, std::string& t) override { return inner_.Read(f, t); }
        Status Remove(const std::string& f) override { return inner_.Remove(f); }
        JournalStore& inner_;
        int writes_ = 0;
    } store(journals.store);
    const auto before = test::FilesBelow(folder.path());
    const TrackList tracks = Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"});
    ArrangeRun run{SystemFileSystem(), failures, progress};
    ASSERT_EQ(ArrangeTracks({PlayerType::FileNames}, F(), tracks, run, store).outcome,
              RunOutcome::Stopped);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::JournalPutBack});
    EXPECT_EQ(failures.failures[0].path, store.PathOf(F()));
    EXPECT_EQ(failures.failures[0].status.message(), "full");
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_FALSE(test::JournalOf(journals.store, F()));
}

// Asks the run to stop once its first rename is done; when intruder is set, a file of the
// user's then takes the renamed track's old name.
class StopAfterFirstRename : public test::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::string intruder;

    Status Rename(const std::string& from, const std::string& to) override {
        Status status = ForwardingFileSystem::Rename(from, to);
        if (status && !stopped_) {
            stopped_ = true;
            RequestRunStop();
            if (!intruder.empty()) {
                test::WriteWholeFile(from, intruder);
            }
        }
        return status;
    }

private:
    bool stopped_ = false;
};

TEST_F(JournaledRunTest, AStoppedRunReportsWhatBecameOfTheFolder) {
    Tracks({"a.mp3", "b.mp3"});
    const auto before = test::FilesBelow(folder.path());
    StopAfterFirstRename fs;
    ArrangeRun run{fs, failures, progress};
    const jobs::JobOutcome outcome = jobs::ArrangeFolder(
        F(), {PlayerType::FileNames}, Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"}), run,
        journals.store);
    ClearRunStop();
    EXPECT_EQ(outcome.report.outcome, RunOutcome::Stopped);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::Stopped});
    EXPECT_EQ(failures.failures[0].path, F());
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    // It said what became of the folder: the order read back, not the arranged one, is not
    // reported on top.
    EXPECT_TRUE(outcome.changed);
    EXPECT_TRUE(outcome.orderMatches);
    EXPECT_EQ(outcome.report.failures.size(), 1u);
}

TEST_F(JournaledRunTest, AStoppedRunThatCannotPutEverythingBackNamesWhatIsLeft) {
    Tracks({"a.mp3", "b.mp3"});
    StopAfterFirstRename fs;
    fs.intruder = "the user's";
    ArrangeRun run{fs, failures, progress};
    const std::string first =
        Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"})[0].file->FileName();
    const RunReport report =
        ArrangeTracks({PlayerType::FileNames}, F(),
                      Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"}), run, journals.store);
    ClearRunStop();
    EXPECT_EQ(report.outcome, RunOutcome::Stopped);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::PutBackInPart});
    ASSERT_EQ(failures.failures[0].notRestored.size(), 1u);
    EXPECT_EQ(failures.failures[0].notRestored[0].name, "0.qz_temp");
    EXPECT_EQ(failures.failures[0].notRestored[0].reason, NotRestored::Reason::NameTaken);
    EXPECT_EQ(test::ReadFile(first), "the user's");
}

TEST_F(JournaledRunTest, ARunThatChangedNothingLeavesNoRecord) {
    Tracks({"A.mp3", "B.mp3"});
    // Read-only tracks: every write of a time fails.
    test::TimedFileSystem fs;
    for (const char* name : {"A.mp3", "B.mp3"}) {
        fs.times[folder / name] = media::DateTimeToFileTime(40000.0);
        ASSERT_EQ(::chmod((folder / name).c_str(), 0444), 0);
    }
    const TrackList tracks = Arranged(PlayerType::CreationTimes, {"B.mp3", "A.mp3"}, fs);
    ArrangeRun run{fs, failures, progress};
    ASSERT_TRUE(
        ArrangeTracks({PlayerType::CreationTimes}, F(), tracks, run, journals.store).Changed());
    EXPECT_EQ(failures.Steps(),
              (std::vector<RunStep>{RunStep::SetCreationTime, RunStep::SetCreationTime}));
    EXPECT_FALSE(test::JournalOf(journals.store, F()));
}

TEST_F(JournaledRunTest, TheOrderBeforeTheRunIsTheOrderTheListLoads) {
    Tracks({"{10}b.mp3", "{9}a.mp3", "c.mp3", "{2}c.mp3", ".h.wav", "D.MP3"});
    folder.WriteFile("e.txt", "not a track");
    test::TimedFileSystem fs;
    const std::vector<std::string> names = {"{10}b.mp3", "{9}a.mp3", "c.mp3",
                                            "{2}c.mp3",  ".h.wav",   "D.MP3"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        fs.times[folder / names[i]] =
            media::DateTimeToFileTime(40000.0 + static_cast<double>(i % 3) * 0.25);
    }
    for (const PlayerType type : AllPlayerTypes) {
        std::vector<std::string> listed;
        for (const ListedTrack& track : ListPlayerOrder(folder.path(), {type}, fs)) {
            listed.push_back(track.display + "\r\n");
        }
        std::string text;
        for (const std::string& line : listed) {
            text += line;
        }
        EXPECT_EQ(text, LoadTracks(folder.path(), {type}, fs).Text()) << PlayerTypeNumber(type);
    }
}

} // namespace
} // namespace tralvo
