// Ctrl+Z's job as the window and tralvo-cli run it, after the Tralvo button's.
#include "arrange/undo.h"
#include "job_test_support.h"
#include "jobs/arrange_folder.h"
#include "jobs/order_check.h"
#include "jobs/undo_last_run.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tralvo {
namespace {

using Names = std::vector<std::string>;

class UndoLastRunJob : public test::JournaledFolderTest {
protected:
    // The Tralvo button's job on the folder, in the order of displays.
    void ArrangeAs(PlayerOrder order, const Names& displays, FileSystem& fs) {
        ArrangeRun run{fs, failures, progress};
        const jobs::JobOutcome outcome = jobs::ArrangeFolder(
            folder.path(), order, Arranged(order.type, displays, fs), run, journals.store);
        ASSERT_TRUE(outcome.orderMatches);
        ASSERT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    }
    Names Shown(PlayerOrder order, FileSystem& fs) {
        return test::Displays(LoadPlayerFolder(F(), order, fs).tracks);
    }
};

TEST_F(UndoLastRunJob, TakesTheArrangedFolderBackAndReadsItBackOnce) {
    Tracks({"A.mp3", "B.mp3", "C.mp3"});
    folder.WriteFile("notes.txt", "notes");
    test::DirectoryOrderFileSystem fat;
    const PlayerOrder order{PlayerType::DirectoryOrder};
    const Names before = Shown(order, fat);
    ArrangeAs(order, {before[2], before[0], before[1]}, fat);

    test::ListingCounter counted(fat);
    ArrangeRun run{counted, failures, progress};
    const jobs::UndoJobOutcome undo = jobs::UndoLastRun(F(), order, run, journals.store);

    EXPECT_EQ(undo.outcome, UndoOutcome::Undone);
    EXPECT_TRUE(undo.job.changed);
    EXPECT_TRUE(undo.job.orderMatches);
    EXPECT_EQ(undo.job.reloaded.order, order);
    EXPECT_EQ(test::Displays(undo.job.reloaded.tracks), before);
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
    EXPECT_FALSE(CanUndo(F(), journals.store));

    // Arranged and taken back once more without the job: the job lists the folder only once
    // more than the undo itself does.
    ArrangeAs(order, {before[2], before[0], before[1]}, fat);
    test::ListingCounter alone(fat);
    ArrangeRun bare{alone, failures, progress};
    ASSERT_EQ(TakeBackLastRun(F(), bare, journals.store).outcome, UndoOutcome::Undone);
    EXPECT_EQ(counted.listings, alone.listings + 1);
}

TEST_F(UndoLastRunJob, ChecksTheOrderTheRunArrangedByWhileShowingTheFacesOrder) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    const PlayerOrder byName{PlayerType::FileNames};
    const Names before = Shown(byName, SystemFileSystem());
    ArrangeAs(byName, {"c.mp3", "b.mp3", "a.mp3"}, SystemFileSystem());

    // The settings were changed to directory order since the run: the list is shown that way,
    // and the file names are what the undo restores.
    const PlayerOrder byEntries{PlayerType::DirectoryOrder};
    ArrangeRun run{SystemFileSystem(), failures, progress};
    const jobs::UndoJobOutcome undo = jobs::UndoLastRun(F(), byEntries, run, journals.store);

    EXPECT_EQ(undo.outcome, UndoOutcome::Undone);
    EXPECT_TRUE(undo.job.orderMatches);
    EXPECT_EQ(undo.job.reloaded.order, byEntries);
    EXPECT_EQ(Shown(byName, SystemFileSystem()), before);
    Names shown = test::Displays(undo.job.reloaded.tracks);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, before);
}

TEST_F(UndoLastRunJob, NothingToUndoTouchesAndReadsNothing) {
    Tracks({"a.mp3", "b.mp3"});
    test::ListingCounter counted(SystemFileSystem());
    ArrangeRun run{counted, failures, progress};

    const jobs::UndoJobOutcome undo =
        jobs::UndoLastRun(F(), {PlayerType::FileNames}, run, journals.store);

    EXPECT_EQ(undo.outcome, UndoOutcome::NothingToUndo);
    EXPECT_FALSE(undo.job.changed);
    EXPECT_TRUE(undo.job.reloaded.tracks.empty());
    EXPECT_EQ(counted.listings, 0);
    EXPECT_TRUE(failures.empty());
}

TEST_F(UndoLastRunJob, AFailedStepFailsTheUndoAndItsOrderIsToldWhenAsked) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    const PlayerOrder byName{PlayerType::FileNames};
    const Names before = Shown(byName, SystemFileSystem());
    ArrangeAs(byName, {"c.mp3", "b.mp3", "a.mp3"}, SystemFileSystem());
    const auto arranged = test::Contents(test::FilesBelow(folder.path()));

    // b keeps its order prefix while a and c get their names back: b is played last.
    test::FailingFileSystem fs(2);
    ArrangeRun run{fs, failures, progress};
    const jobs::UndoJobOutcome undo = jobs::UndoLastRun(F(), byName, run, journals.store);

    EXPECT_EQ(undo.outcome, UndoOutcome::Failed);
    EXPECT_TRUE(undo.job.changed);
    EXPECT_FALSE(undo.job.orderMatches);
    EXPECT_NE(test::Displays(undo.job.reloaded.tracks), before);
    EXPECT_EQ(test::Contents(test::FilesBelow(folder.path())), arranged);
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures.failures.front().status.message(), "injected failure");
    jobs::TellOrder(undo.job, failures);
    EXPECT_EQ(failures.Steps().back(), RunStep::OrderDiffers);
    EXPECT_EQ(failures.failures.size(), undo.job.report.failures.size());
}

} // namespace
} // namespace tralvo
