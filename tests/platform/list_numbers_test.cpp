#include "platform/list_numbers.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(ListNumbers, DigitsGrowAtEachPowerOfTen) {
    EXPECT_EQ(ListDigits(0), 1);
    EXPECT_EQ(ListDigits(9), 1);
    EXPECT_EQ(ListDigits(10), 2);
    EXPECT_EQ(ListDigits(99), 2);
    EXPECT_EQ(ListDigits(100), 3);
}

TEST(ListNumbers, ZeroPadFillsOnTheLeftOnly) {
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(120, 3), "120");
    EXPECT_EQ(ZeroPad(1234, 2), "1234");
    EXPECT_EQ(ZeroPad(0, 1), "0");
}

} // namespace
} // namespace tralvo
