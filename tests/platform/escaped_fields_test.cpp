#include "platform/escaped_fields.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using namespace std::string_literals;

TEST(EscapedFields, EveryByteComesBackFromPrintableAsciiWithoutTab) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string escaped = EscapeField(all);
    for (const char c : escaped) {
        EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << int(c);
    }
    EXPECT_EQ(UnescapeField(escaped, FieldReading::Lenient), all);
    EXPECT_EQ(UnescapeField(escaped, FieldReading::Strict), all);
    EXPECT_EQ(EscapeField("tab\there|back\\slash\x7F\r\n\xE9"s),
              "tab\\there|back\\\\slash\\x7F\\r\\n\\xE9");
    EXPECT_EQ(EscapeField(""), "");
}

TEST(EscapedFields, ALenientReadingTakesLowerCaseHexAndRawBytes) {
    EXPECT_EQ(UnescapeField("t\\xe9\\xE9"), "t\xE9\xE9"s);
    EXPECT_EQ(UnescapeField("raw\ttab \xE9"s), "raw\ttab \xE9"s);
    for (const std::string_view bad : {"\\", "a\\", "\\q", "\\x", "\\x4", "\\xG1", "\\x4g"}) {
        EXPECT_FALSE(UnescapeField(bad)) << bad;
    }
}

TEST(EscapedFields, AStrictReadingTakesOnlyWhatEscapingWrites) {
    EXPECT_EQ(UnescapeField("a\\\\b\\t\\xE9", FieldReading::Strict), "a\\b\t\xE9"s);
    for (const std::string_view bad : {"\\xe9", "raw\ttab", "\xE9", "\x7F", "\\x4", "\\q", "\\"}) {
        EXPECT_FALSE(UnescapeField(bad, FieldReading::Strict)) << EscapeField(bad);
    }
}

TEST(EscapedFields, ALineJoinsEscapedFieldsByTabs) {
    std::string text = "start\n";
    AppendEscapedLine(text, {"a\tb", "", "c\n"});
    AppendEscapedLine(text, {"one"});
    EXPECT_EQ(text, "start\na\\tb\t\tc\\n\none\n");
}

} // namespace
} // namespace tralvo
