#include "i18n/lang_text.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(UnescapeLangValue, TurnsLineBreakEscapesIntoCrLf) {
    EXPECT_EQ(UnescapeLangValue("one\\ntwo"), "one\r\ntwo");
    EXPECT_EQ(UnescapeLangValue("one\\Rtwo"), "one\r\ntwo");
    // "\r" runs first and becomes CR LF; the "\n" after it is a second line break.
    EXPECT_EQ(UnescapeLangValue("a\\r\\nb"), "a\r\n\r\nb");
}

TEST(UnescapeLangValue, RunsItsStepsInOrderSoADoubledBackslashBeforeNIsALineBreak) {
    // Step 2 ("\n") runs before step 7 ("\\"): "\\n" keeps one backslash and breaks the line.
    EXPECT_EQ(UnescapeLangValue("x\\\\ny"), "x\\\r\ny");
    EXPECT_EQ(UnescapeLangValue("x\\\\y"), "x\\y");
    EXPECT_EQ(UnescapeLangValue("\\S\\@\\'\\\""), " @'\"");
    EXPECT_EQ(UnescapeLangValue("100% \\q"), "100% \\q");
}

TEST(SplitLines, SplitsAtEveryKindOfLineBreakWithoutATrailingEmptyLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(FormatLangString, PutsArgumentsInPlaceOfTheirPlaceholders) {
    EXPECT_EQ(FormatLangString("Cannot rename %0.", "song.mp3"), "Cannot rename song.mp3.");
    EXPECT_EQ(FormatLangString("%1 then %0 and %0", "a|b"), "b then a and a");
    EXPECT_EQ(FormatLangString("%0 %1", "a|"), "a %1");
    EXPECT_EQ(FormatLangString("%0", ""), "%0");
}

TEST(FormatLangString, ThePlaceholderForArgumentTenIsFirstHitByArgumentOne) {
    EXPECT_EQ(FormatLangString("[%10]", "a|b|c|d|e|f|g|h|i|j|k"), "[b0]");
}

TEST(FormatLangString, ReplacesInTheTextAsChangedSoFar) {
    // An argument that itself holds a later placeholder is replaced again.
    EXPECT_EQ(FormatLangString("%0", "%1|x"), "x");
}

} // namespace
} // namespace tralvo
