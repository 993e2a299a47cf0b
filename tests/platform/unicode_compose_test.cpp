#include "platform/unicode_compose.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

// "Café Ñandú Dvořák Việt" as Windows and Linux write it, and as a Mac does.
constexpr std::string_view Composed = "Caf\xC3\xA9 \xC3\x91"
                                      "and\xC3\xBA Dvo\xC5\x99\xC3\xA1k Vi\xE1\xBB\x87t";
constexpr std::string_view Decomposed = "Cafe\xCC\x81 N\xCC\x83"
                                        "andu\xCC\x81 Dvor\xCC\x8C"
                                        "a\xCC\x81k Vie\xCC\xA3\xCC\x82t";

TEST(UnicodeCompose, AccentedLettersTurnFromOneFormIntoTheOther) {
    EXPECT_EQ(ComposedUtf8(Decomposed), Composed);
    EXPECT_EQ(DecomposedUtf8(Composed), Decomposed);
    // Each form is its own fixed point, so a name compares alike whichever way it came.
    EXPECT_EQ(ComposedUtf8(Composed), Composed);
    EXPECT_EQ(DecomposedUtf8(Decomposed), Decomposed);
}

TEST(UnicodeCompose, OtherTextAndOtherBytesStayAsTheyAre) {
    for (const std::string_view text : {
             std::string_view("plain ASCII.mp3"),
             std::string_view("\xE6\x97\xA5\xE6\x9C\xAC.mp3"), // CJK has no diacritics here
             std::string_view("\xCC\x81 leading mark"),        // a mark with nothing before it
             std::string_view("x\xCC\x81"),                    // no letter "x with acute"
             std::string_view("Caf\xE9 in Latin-1\xCC"),       // not UTF-8
             std::string_view(),
         }) {
        EXPECT_EQ(ComposedUtf8(text), text);
        EXPECT_EQ(ComposedUtf8(DecomposedUtf8(text)), ComposedUtf8(text));
    }
    EXPECT_EQ(DecomposedUtf8("Caf\xE9"), "Caf\xE9");
}

} // namespace
} // namespace tralvo
