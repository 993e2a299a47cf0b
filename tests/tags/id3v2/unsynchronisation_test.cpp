// Unsynchronisation: of the whole tag in version 3 (also across refills of the ring), of single
// frames in version 4.
#include "id3v2_test_support.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace tags::id3v2_result;

// A version 3 tag with the unsynchronisation flag around a body given as stored.
Bytes V3UnsynchronisedTag(const Bytes& storedBody) {
    return Id3v2TagWriter(3).HeaderFlags(0x80).Raw(storedBody).Build();
}

Bytes FrameHeader(std::string_view id, std::uint32_t size) {
    Bytes header = BytesOf(id);
    Append(header, BigEndianBytes(size));
    Append(header, Bytes{0, 0});
    return header;
}

TEST(Id3v2Unsynchronisation, Version3PairsAreUndoneByTheByteAfterThem) {
    // FF 00 E0 -> FF E0, FF 00 00 -> FF 00, FF 00 41 stays; a final 00 after FF goes.
    Bytes body = FrameHeader("PRIV", 7);
    Append(body, Bytes{0xFF, 0x00, 0xE0, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x41});
    Append(body, FrameHeader("PRIV", 2));
    Append(body, Bytes{'z', 0xFF, 0x00});
    LoadedTag loaded = LoadBytes(Mp3File(V3UnsynchronisedTag(body)));
    ASSERT_EQ(loaded.result, Ok);
    ASSERT_EQ(loaded.tag.Frames().Count(), 2u);
    EXPECT_EQ(loaded.tag.Frames()[1].data, (Bytes{0xFF, 0xE0, 0xFF, 0x00, 0xFF, 0x00, 0x41}));
    EXPECT_EQ(loaded.tag.Frames()[2].data, (Bytes{'z', 0xFF}));
}

TEST(Id3v2Unsynchronisation, Version3ExtendedHeaderIsUnsynchronisedToo) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .Unsynchronise()
                                   .ExtendedHeader(Id3v2ExtendedHeaderV3{.crc = 0xFFE0FF00})
                                   .Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.Crc(), 0xFFE0FF00u);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2Unsynchronisation, Version4FramesAreUndoneOnceOnFirstRead) {
    // FF 00 00 is stored as FF 00 00 00; undoing it twice would give FF 00.
    const Bytes content{0, 'a', 0xFF, 0x00, 0x00, 'b'};
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Unsynchronise().Add(RawFrame("TIT2", content)));
    ASSERT_EQ(loaded.result, Ok);
    const tags::FrameRecord& frame = loaded.tag.Frames()[1];
    EXPECT_EQ(frame.data, Unsynchronise(content)); // kept as stored until read
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{0, std::string("a\xFF\0", 3)}));
    EXPECT_EQ(frame.data, content);
    EXPECT_TRUE(frame.modified);
    EXPECT_EQ(frame.pendingFlags & tags::FrameRecord::Unsynchronisation, 0);
    TextOf(loaded.tag, "TIT2");
    EXPECT_EQ(frame.data, content);
}

// Content dense with every pair that unsynchronisation touches, so that wherever a refill of
// the ring cuts the stored bytes, some pair or triple is cut.
Bytes PairRichContent(std::size_t size) {
    static constexpr std::uint8_t Pattern[] = {0xFF, 0xE0, 0xFF, 0x00, 0x00, 0xFF,
                                               0xFF, 0x00, 0x41, 0xFF, 0x00, 0xE0};
    Bytes content(size);
    for (std::size_t i = 0; i < size; ++i) {
        content[i] = Pattern[(i + i / 1000) % sizeof Pattern];
    }
    return content;
}

class Id3v2RingRefill : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Id3v2RingRefill, PairsCutByARefillAreUndoneAsInOnePiece) {
    // The first frame moves the big frame's stored bytes across the 65536-byte ring boundary.
    const Bytes big = PairRichContent(150000);
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .Unsynchronise()
                                   .Add(RawFrame("PRIV", Bytes(GetParam(), 'x')))
                                   .Add(RawFrame("APIC", big))
                                   .Text("TIT2", "After\xFF")
                                   .Padding(10));
    ASSERT_EQ(loaded.result, Ok);
    ASSERT_EQ(loaded.tag.Frames().Count(), 3u);
    EXPECT_EQ(loaded.tag.Frames()[2].data, big);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "After\xFF");
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, Id3v2RingRefill, ::testing::Range<std::size_t>(1, 14));

TEST(Id3v2Unsynchronisation, unsynchronised_frame_shorter_than_its_size) {
    // The size counts a stuffed byte, so the frame runs out of body.
    Bytes body = FrameHeader("PRIV", 4);
    Append(body, Bytes{'a', 0xFF, 0x00, 0x00});
    EXPECT_EQ(LoadBytes(Mp3File(V3UnsynchronisedTag(body))).result, Corrupt);
}

} // namespace
} // namespace tralvo::test
