// The natural order of sort-key texts: digit runs by value, every other byte as it is.
#include "media/natural_order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tralvo::media {
namespace {

// Both directions at once, so that an answer that depends on the side is caught.
void ExpectBefore(std::string_view a, std::string_view b) {
    EXPECT_LT(CompareNatural(a, b), 0) << '"' << a << "\" before \"" << b << '"';
    EXPECT_GT(CompareNatural(b, a), 0) << '"' << b << "\" after \"" << a << '"';
}

TEST(NaturalOrder, DigitRunsCompareByValueWhereverTheyStand) {
    ExpectBefore("2", "10"); // at the start
    ExpectBefore("2 live", "10 live");
    ExpectBefore("track 2 (live)", "track 10 (live)"); // in the middle
    ExpectBefore("track 9", "track 10");               // at the end
    ExpectBefore("track 10", "track 11");
    ExpectBefore("cd1 track 12", "cd2 track 1"); // the first run that differs decides
    ExpectBefore("1.5", "1.10");                 // a point is no decimal point
    ExpectBefore("track 2", "track 2b");         // a text that ends first comes first
    ExpectBefore("track", "track 1");
}

TEST(NaturalOrder, LeadingZerosDoNotCountButTellOtherwiseEqualTextsApart) {
    ExpectBefore("track 02", "track 10");
    ExpectBefore("track 002", "track 3");
    ExpectBefore("track 2", "track 02"); // fewer zeros first
    ExpectBefore("track 02", "track 002");
    ExpectBefore("0", "00");
    ExpectBefore("00", "1");
    // The values decide before the zeros do, wherever the zeros are.
    ExpectBefore("track 002 a", "track 2 b");
    ExpectBefore("01 a 2", "1 a 03");
    ExpectBefore("1 a 02", "01 a 2"); // the first run with differing zeros decides
    EXPECT_EQ(CompareNatural("track 007", "track 007"), 0);
}

TEST(NaturalOrder, LongDigitRunsCompareWithoutOverflow) {
    const std::string thirty(30, '9');
    ExpectBefore("track " + std::string(29, '9'), "track " + thirty);
    ExpectBefore("123456789012345678901234567890", "123456789012345678901234567891");
    ExpectBefore("18446744073709551615", "18446744073709551616"); // past 64 bits
    ExpectBefore("99999999999999999999999999999 x", "100000000000000000000000000000 a");
    ExpectBefore(thirty, "0" + thirty);
    EXPECT_EQ(CompareNatural(thirty, thirty), 0);
}

TEST(NaturalOrder, OtherBytesKeepThePlainOrder) {
    // The key texts come folded; the comparison itself does not fold, as the plain one does not.
    ExpectBefore("Track 10", "track 2");
    ExpectBefore("a", "b");
    ExpectBefore("", "a");
    ExpectBefore("", "0");
    EXPECT_EQ(CompareNatural("", ""), 0);
    // Digits sit among the other bytes where ASCII puts them.
    ExpectBefore(" 1", "1");
    ExpectBefore("1", "a");
    ExpectBefore("track 2", "track a");
    ExpectBefore("track 10x", "track-1"); // ' ' (0x20) is below '-' (0x2D)
    ExpectBefore("track 9", "track:1");
    // Bytes above 0x7F are unsigned: Latin-1 and UTF-8 letters after every ASCII one.
    ExpectBefore("z 10", "\xE9t\xE9 2");                         // Latin-1 "été 2"
    ExpectBefore("\xC3\xA9t\xC3\xA9 2", "\xC3\xA9t\xC3\xA9 10"); // UTF-8 "été"
    ExpectBefore("caf\xC3\xA9 9", "caf\xC3\xA9 10");
    ExpectBefore("\xC3\xA9", "\xC3\xA9"
                             "1");
    ExpectBefore("\xE9"
                 "9",
                 "\xE9"
                 "10");
    // Digits that are not ASCII, such as the superscript two, are bytes like any other.
    ExpectBefore("track 9", "track \xC2\xB2");
    ExpectBefore("a\x7F", "a\x80");
}

TEST(NaturalOrder, SortsAListAsPeopleCountAndOnlyEqualTextsTie) {
    std::vector<std::string> names = {"track 10", "track 1",  "track 001", "track 2",
                                      "track",    "track 02", "track 100", "track 9b",
                                      "track 9",  "",         "track 1a"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNatural(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"", "track", "track 1", "track 001", "track 1a",
                                               "track 2", "track 02", "track 9", "track 9b",
                                               "track 10", "track 100"}));
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        EXPECT_LT(CompareNatural(names[i], names[i + 1]), 0) << names[i];
    }
}

} // namespace
} // namespace tralvo::media
