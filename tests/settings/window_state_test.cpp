#include "settings/settings_store.h"
#include "settings/window_state.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

WindowSettings Stored(int left, int top, int width, int height) {
    WindowSettings window;
    window.WindowLeft = left;
    window.WindowTop = top;
    window.WindowWidth = width;
    window.WindowHeight = height;
    return window;
}

TEST(RestoredGeometry, NothingStoredCentresTheWindowAtItsSize) {
    const WindowGeometry g = RestoredGeometry(Stored(-1, -1, -1, -1), 600, 480, 1920, 1080);
    EXPECT_EQ(g.width, 600);
    EXPECT_EQ(g.height, 480);
    EXPECT_EQ(g.left, 660);
    EXPECT_EQ(g.top, 300);
}

TEST(RestoredGeometry, ASizeBeyondTheScreenIsCutAndBelowTheMinimumRaised) {
    const WindowGeometry big = RestoredGeometry(Stored(0, 0, 3000, 2000), 600, 480, 1920, 1080);
    EXPECT_EQ(big.width, 1920);
    EXPECT_EQ(big.height, 1080);
    const WindowGeometry small = RestoredGeometry(Stored(10, 10, 100, 100), 600, 480, 1920, 1080);
    EXPECT_EQ(small.width, 600);
    EXPECT_EQ(small.height, 480);
}

TEST(RestoredGeometry, LeftEdgesBelowMinusOneCentreAndEdgesPastTheScreenArePulledBack) {
    EXPECT_EQ(RestoredGeometry(Stored(-50, 5, 600, 480), 600, 480, 1920, 1080).left, 660);
    const WindowGeometry g = RestoredGeometry(Stored(1800, 1000, 600, 480), 600, 480, 1920, 1080);
    EXPECT_EQ(g.left, 1320);
    EXPECT_EQ(g.top, 600);
    // An odd remainder rounds toward zero.
    EXPECT_EQ(RestoredGeometry(Stored(-1, -1, 601, 481), 600, 480, 1920, 1080).left, 659);
}

} // namespace
} // namespace tralvo
