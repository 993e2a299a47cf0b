// The Tralvo button's job as the window and tralvo-cli run it: the run, one reload, the check.
#include "arrange/arrange_tracks.h"
#include "job_test_support.h"
#include "jobs/arrange_folder.h"
#include "jobs/order_check.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using Names = std::vector<std::string>;

class ArrangeFolderJob : public test::JournaledFolderTest {};

TEST_F(ArrangeFolderJob, ReadsTheFolderBackOnceUnderTheOrderItArrangedBy) {
    Tracks({"a.mp3", "b.mp3", "c.mp3"});
    const PlayerOrder order{PlayerType::FileNames};
    const LoadedFolder arranged{F(), order, Arranged(order.type, {"c.mp3", "a.mp3", "b.mp3"})};

    // The same folder once more, run without the job, tells how often the run lists it.
    test::TempFolder twin;
    for (const auto& [path, content] : test::FilesBelow(folder.path())) {
        twin.WriteFile(path, content);
    }
    test::ListingCounter runAlone(SystemFileSystem());
    {
        ArrangeRun run{runAlone, failures, progress};
        const TrackList tracks =
            test::Arranged(twin.path(), order.type, {"c.mp3", "a.mp3", "b.mp3"}, runAlone);
        runAlone.listings = 0;
        ASSERT_TRUE(ArrangeTracks(order, twin.path() + "/", tracks, run, journals.store).Changed());
    }

    test::ListingCounter counted(SystemFileSystem());
    ArrangeRun run{counted, failures, progress};
    const jobs::JobOutcome outcome = jobs::ArrangeFolder(arranged, run, journals.store);

    EXPECT_EQ(counted.listings, runAlone.listings + 1);
    EXPECT_TRUE(outcome.changed);
    EXPECT_TRUE(outcome.orderMatches);
    EXPECT_TRUE(outcome.report.failures.empty());
    EXPECT_EQ(outcome.reloaded.folder, F());
    EXPECT_EQ(outcome.reloaded.order, order);
    EXPECT_EQ(test::Displays(outcome.reloaded.tracks), (Names{"c.mp3", "a.mp3", "b.mp3"}));
    EXPECT_TRUE(failures.empty()) << testing::PrintToString(failures.Steps());
}

TEST_F(ArrangeFolderJob, ARefusedRunChangesNothingYetShowsWhatIsThere) {
    Tracks({"a.mp3", "b.mp3"});
    folder.MakeFolder("QZ_TEMP1");
    ArrangeRun run{SystemFileSystem(), failures, progress};
    const LoadedFolder before =
        LoadPlayerFolder(F(), {PlayerType::DirectoryOrder}, SystemFileSystem());
    const TrackList arranged = Arranged(PlayerType::DirectoryOrder, {"b.mp3", "a.mp3"});

    const jobs::JobOutcome outcome = jobs::ArrangeFolder(
        folder.path(), {PlayerType::DirectoryOrder}, arranged, run, journals.store);

    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(outcome.report.outcome, RunOutcome::Refused);
    EXPECT_EQ(failures.Steps(), std::vector<RunStep>{RunStep::ReservedEntry});
    // tralvo-cli prints the list as it is, and no differing order is told on top.
    EXPECT_EQ(test::Displays(outcome.reloaded.tracks), test::Displays(before.tracks));
    EXPECT_TRUE(outcome.orderMatches);
}

TEST_F(ArrangeFolderJob, ADifferingOrderIsReportedButToldOnlyWhenTheFaceAsks) {
    Tracks({"a.mp3", "b.mp3"});
    const PlayerOrder order{PlayerType::FileNames};
    const TrackList arranged = Arranged(order.type, {"b.mp3", "a.mp3"});
    // a keeps its name while b gets its order prefix: the player plays a first.
    test::FailingFileSystem fs(2);
    ArrangeRun run{fs, failures, progress};

    const jobs::JobOutcome outcome =
        jobs::ArrangeFolder(folder.path(), order, arranged, run, journals.store);

    ASSERT_TRUE(outcome.changed);
    EXPECT_FALSE(outcome.orderMatches);
    ASSERT_FALSE(outcome.report.failures.empty());
    EXPECT_EQ(outcome.report.failures.back().step, RunStep::OrderDiffers);
    // The failing rename was told as it happened; the order waits for the list to be shown.
    ASSERT_FALSE(failures.empty());
    EXPECT_EQ(failures.failures.front().status.message(), "injected failure");
    EXPECT_NE(failures.Steps().back(), RunStep::OrderDiffers);
    const std::size_t told = failures.failures.size();

    jobs::TellOrder(outcome, failures);
    ASSERT_EQ(failures.failures.size(), told + 1);
    EXPECT_EQ(failures.Steps().back(), RunStep::OrderDiffers);
    EXPECT_EQ(failures.failures.size(), outcome.report.failures.size());
}

TEST(OrderMatches, AStoppedRunMatchesWhateverIsReadBack) {
    RunReport report;
    EXPECT_TRUE(jobs::OrderMatches("a\r\nb\r\n", "a\r\nb\r\n", report));
    EXPECT_FALSE(jobs::OrderMatches("a\r\nb\r\n", "b\r\na\r\n", report));
    report.outcome = RunOutcome::Stopped;
    EXPECT_TRUE(jobs::OrderMatches("a\r\nb\r\n", "b\r\na\r\n", report));
}

} // namespace
} // namespace tralvo
