// DecodeFrameText, per encoding, with every result it gives.
#include "tags/id3v2/id3v2_tag.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace tags::id3v2_read;

struct Decoding {
    std::uint8_t result;
    std::string text;
    std::size_t length; // bytes consumed, when none came in
    bool operator==(const Decoding&) const = default;
};

void PrintTo(const Decoding& d, std::ostream* out) {
    *out << "{" << int{d.result} << ", \"" << testing::PrintToString(d.text) << "\", " << d.length
         << "}";
}

Decoding Decode(std::string_view bytes, std::uint8_t encoding, bool multiLine = false,
                std::size_t start = 0, std::size_t limit = 0) {
    tags::FrameRecord frame;
    frame.data.assign(bytes.begin(), bytes.end());
    Decoding decoded{0, "stale", limit};
    decoded.result =
        tags::DecodeFrameText(frame, start, multiLine, encoding, decoded.length, decoded.text);
    return decoded;
}

using S = std::string;

TEST(Id3v2TextDecoding, Latin1) {
    // The stopping byte is part of the text and of the length.
    EXPECT_EQ(Decode(S("ab\0cd", 5), 0), (Decoding{Ok, S("ab\0", 3), 3}));
    EXPECT_EQ(Decode("ab\xE9", 0), (Decoding{Ok, "ab\xE9", 3}));
    EXPECT_EQ(Decode("ab\ncd", 0), (Decoding{Ok, "ab\n", 3}));
    EXPECT_EQ(Decode("ab\x01"
                     "cd",
                     0),
              (Decoding{BadText, "", 3}));
    EXPECT_EQ(Decode(S("a\r\nb\0c", 6), 0, true), (Decoding{Ok, S("a\r\nb\0", 5), 5}));
    EXPECT_EQ(Decode("a\tb", 0, true), (Decoding{Ok, "a\t", 2})); // only CR and LF go on
}

TEST(Id3v2TextDecoding, StartAndLength) {
    EXPECT_EQ(Decode("abc", 0, false, 3), (Decoding{Empty, "", 0}));
    EXPECT_EQ(Decode("abcdef", 0, false, 1, 3), (Decoding{Ok, "bcd", 3}));
    EXPECT_EQ(Decode("abc", 0, false, 1, 10), (Decoding{Ok, "bc", 10}));
    EXPECT_EQ(Decode("abc", 4), (Decoding{UnknownEncoding, "", 0}));
}

TEST(Id3v2TextDecoding, Utf16WithByteOrderMark) {
    EXPECT_EQ(Decode(S("\xFF\xFE"
                       "a\0\xE9\0\0\0z\0",
                       10),
                     1),
              (Decoding{Ok, "a\xE9", 8}));
    EXPECT_EQ(Decode(S("\xFE\xFF\0a\0b", 6), 1), (Decoding{Ok, "ab", 6}));
    EXPECT_EQ(Decode(S("\xFE\xFF\0a\0", 5), 1), (Decoding{Ok, "a", 4})); // half a unit at the end
    EXPECT_EQ(Decode(S("a\0b\0", 4), 1), (Decoding{BadText, "", 2}));
    EXPECT_EQ(Decode("\xFF", 1), (Decoding{BadText, "", 1}));
    EXPECT_EQ(Decode(S("\xFF\xFE"
                       "a\0\x01\x01z\0",
                       8),
                     1),
              (Decoding{BeyondLatin1, "a", 6}));
    EXPECT_EQ(Decode(S("\xFF\xFE"
                       "a\0\r\0\n\0",
                       8),
                     1, true),
              (Decoding{BadText, "", 6}));
}

TEST(Id3v2TextDecoding, Utf16BigEndian) {
    EXPECT_EQ(Decode(S("\0a\0\xFF\0\0\0b", 8), 2), (Decoding{Ok, "a\xFF", 6}));
    EXPECT_EQ(Decode(S("\0a\x20\xAC", 4), 2), (Decoding{BeyondLatin1, "a", 4}));
    EXPECT_EQ(Decode(S("\0a\0\x1F", 4), 2), (Decoding{BadText, "", 4}));
}

TEST(Id3v2TextDecoding, Utf8) {
    EXPECT_EQ(Decode(S("a\xC3\xA9\0z", 5), 3), (Decoding{Ok, S("a\xE9\0", 3), 4}));
    EXPECT_EQ(Decode("a\xA9", 3), (Decoding{Ok, "a)", 2})); // a lone continuation byte
    EXPECT_EQ(Decode("a\xC4\x80", 3), (Decoding{BeyondLatin1, "a", 2}));
    EXPECT_EQ(Decode("a\xC3", 3), (Decoding{BadText, "", 2}));
    EXPECT_EQ(Decode("a\r\nb", 3, true), (Decoding{BadText, "", 2}));
}

} // namespace
} // namespace tralvo::test
