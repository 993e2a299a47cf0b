// The file-name strategy's second pass: the strategy tells the run when it starts, and a
// journaled run that cannot write that down stops before any track takes its new name.
#include "arrange/arrange_tracks.h"
#include "arrange/two_pass_rename.h"
#include "arrange/undo.h"
#include "journal_test_support.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

// Every rename, and how many there were when the second pass was announced.
class RenameLog : public test::ForwardingFileSystem {
public:
    std::vector<std::pair<std::string, std::string>> renames;
    Status Rename(const std::string& from, const std::string& to) override {
        renames.emplace_back(from, to);
        return ForwardingFileSystem::Rename(from, to);
    }
    bool AnyRenameFromTemporary() const {
        return std::any_of(renames.begin(), renames.end(), [](const auto& rename) {
            return IsTemporaryName(BaseOf(rename.first));
        });
    }

private:
    static std::string BaseOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }
};

// Fails the write of every journal that says the second pass started, as a full disk would.
class NoRoomForTheSecondPass : public JournalStore {
public:
    explicit NoRoomForTheSecondPass(JournalStore& inner) : inner_(inner) {}
    std::string PathOf(const std::string& folder) override { return inner_.PathOf(folder); }
    Status Write(const std::string& folder, const std::string& text) override {
        const std::optional<RunJournal> journal = ParseJournal(text);
        if (journal && journal->state == JournalState::SecondPass) {
            return Status::Failure(ENOSPC, "write journal: No space left on device");
        }
        return inner_.Write(folder, text);
    }
    Status Read(const std::string& folder, std::string& text) override {
        return inner_.Read(folder, text);
    }
    Status Remove(const std::string& folder) override { return inner_.Remove(folder); }

private:
    JournalStore& inner_;
};

using SecondPassTest = test::JournaledFolderTest;

TEST_F(SecondPassTest, IsAnnouncedOnceBeforeItsFirstRenameWithTheTracksAtTemporaryNames) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    folder.WriteFile("1.qz_temp", "left by an earlier run");
    RenameLog fs;
    ArrangeRun run{fs, failures, progress};
    std::vector<std::vector<bool>> told;
    std::size_t renamesBefore = 0;
    run.secondPassStarts = [&](const std::vector<bool>& atTemporary) {
        told.push_back(atTemporary);
        renamesBefore = fs.renames.size();
        return Status::Ok();
    };
    RenameInTwoPasses(
        F(), FileNameRenames(Arranged(PlayerType::FileNames, {"c.mp3", "a.mp3", "b.mp3"})), run);
    // b.mp3 could not take the stray 1.qz_temp.
    ASSERT_EQ(told, (std::vector<std::vector<bool>>{{true, false, true}}));
    EXPECT_EQ(renamesBefore, 3u);
    EXPECT_TRUE(fs.AnyRenameFromTemporary());
}

TEST_F(SecondPassTest, ThatCannotBeRecordedDoesNotStart) {
    Tracks({"a.mp3", "b.mp3"});
    RenameLog fs;
    ArrangeRun run{fs, failures, progress};
    run.secondPassStarts = [](const std::vector<bool>&) {
        return Status::Failure(ENOSPC, "no room");
    };
    RenameInTwoPasses(F(), FileNameRenames(Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"})),
                      run);
    EXPECT_EQ(fs.renames.size(), 2u);
    EXPECT_FALSE(fs.AnyRenameFromTemporary());
    // The journal that refused reports it, once it has put the folder back.
    EXPECT_TRUE(failures.empty());
}

TEST_F(SecondPassTest, IsNotAnnouncedWhenNoTrackTookItsTemporaryName) {
    Tracks({"a.mp3"});
    folder.WriteFile("0.qz_temp", "left by an earlier run");
    ArrangeRun run{SystemFileSystem(), failures, progress};
    bool told = false;
    run.secondPassStarts = [&](const std::vector<bool>&) {
        told = true;
        return Status::Ok();
    };
    RenameInTwoPasses(F(), FileNameRenames(Arranged(PlayerType::FileNames, {"a.mp3"})), run);
    EXPECT_FALSE(told);
}

TEST_F(SecondPassTest, AJournalWithoutRoomStopsTheRunWithItsOwnFailureAndTheFolderComesBack) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    const auto before = test::FilesBelow(folder.path());
    NoRoomForTheSecondPass store(journals.store);
    RenameLog fs;
    const TrackList tracks = Arranged(PlayerType::FileNames, {"c.mp3", "b.mp3", "a.mp3"});
    ArrangeRun run{fs, failures, progress};
    ASSERT_EQ(ArrangeTracks({PlayerType::FileNames}, F(), tracks, run, store).outcome,
              RunOutcome::Stopped);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::JournalPutBack});
    EXPECT_EQ(failures.failures[0].path, store.PathOf(F()));
    EXPECT_EQ(failures.failures[0].status.code(), ENOSPC);
    // No track ever took its new name: the renames from the temporary names were the
    // recovery's, back to the old ones.
    for (const auto& [from, to] : fs.renames) {
        EXPECT_EQ(to.find('{'), std::string::npos) << from << " -> " << to;
    }
    EXPECT_EQ(test::FilesBelow(folder.path()), before);
    EXPECT_FALSE(test::JournalOf(journals.store, F()));
}

TEST_F(SecondPassTest, AnUndoWhoseJournalHasNoRoomLeavesTheRunItTookBackInPlace) {
    Tracks({"a.mp3", "b.mp3"});
    {
        ArrangeRun run{SystemFileSystem(), failures, progress};
        ASSERT_TRUE(ArrangeTracks({PlayerType::FileNames}, F(),
                                  Arranged(PlayerType::FileNames, {"b.mp3", "a.mp3"}), run,
                                  journals.store)
                        .Changed());
        ASSERT_TRUE(failures.empty());
    }
    const auto arranged = test::FilesBelow(folder.path());
    NoRoomForTheSecondPass store(journals.store);
    ArrangeRun run{SystemFileSystem(), failures, progress};
    TakeBackLastRun(F(), run, store);
    ASSERT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::JournalPutBack});
    EXPECT_EQ(failures.failures[0].status.code(), ENOSPC);
    EXPECT_EQ(test::FilesBelow(folder.path()), arranged);
}

} // namespace
} // namespace tralvo
