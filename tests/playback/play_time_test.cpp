#include "playback/play_time.h"

#include <gtest/gtest.h>
#include <limits>

namespace tralvo::playback {
namespace {

TEST(PlayTime, ShowsMinutesWithoutAnHoursField) {
    EXPECT_EQ(FormatPlayTime(0), "00:00");
    EXPECT_EQ(FormatPlayTime(7), "00:07");
    EXPECT_EQ(FormatPlayTime(225), "03:45");
    EXPECT_EQ(FormatPlayTime(3600), "60:00");
    EXPECT_EQ(FormatPlayTime(4502), "75:02");
    EXPECT_EQ(FormatPlayTime(6005), "100:05");
}

TEST(PlayTime, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PlayTime, StatusLineNamesTheFileWithoutItsFolder) {
    EXPECT_EQ(PlayStatusText(65, 225, "/media/player/Album/Track.mp3"), "01:05 (03:45): Track.mp3");
    EXPECT_EQ(PlayStatusText(0, 3, "tone.mp3"), "00:00 (00:03): tone.mp3");
}

TEST(PlayTime, BarFollowsThePositionAndStaysAtZeroForAFileOfNoWholeSecond) {
    EXPECT_EQ(PlayBarPosition(65, 225), 289);
    EXPECT_EQ(PlayBarPosition(1, 8), 125);  // 125 exactly, no halves involved
    EXPECT_EQ(PlayBarPosition(1, 16), 62);  // 62.5 rounds to the even 62
    EXPECT_EQ(PlayBarPosition(3, 16), 188); // 187.5 rounds to 188
    EXPECT_EQ(PlayBarPosition(0, 0), 0);
    EXPECT_EQ(PlayBarPosition(1, 0), 0);
    EXPECT_EQ(PlayBarPosition(4, 3), PlayBarMaximum);
}

TEST(PlayTime, SeekTargetIsTheShareOfTheBarInsideItsBorder) {
    EXPECT_EQ(SeekTarget(1000, 0, 102), 0.0);
    EXPECT_EQ(SeekTarget(1000, 50, 102), 500.0);
    EXPECT_EQ(SeekTarget(1000, 100, 102), 1000.0);
    EXPECT_EQ(SeekTarget(3, 1, 4), 1.5);
    EXPECT_EQ(SeekTarget(1000, -3, 102), 0.0); // a press left of the bar's inside
    EXPECT_EQ(SeekTarget(0, 50, 102), std::nullopt);
    EXPECT_EQ(SeekTarget(-1, 50, 102), std::nullopt); // the length was not known
    EXPECT_EQ(SeekTarget(1000, 0, 2), std::nullopt);
}

} // namespace
} // namespace tralvo::playback
