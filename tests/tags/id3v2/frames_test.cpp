// Frame ids, sizes, flags, extra header bytes, padding and the frame list.
#include "id3v2_test_support.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace tags::id3v2_result;
using tags::FrameRecord;

TEST(Id3v2Frames, LowerCaseIdsAreUpperCased) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Text("tit2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.Frames()[1].id, "TIT2");
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2Frames, BadFrameIdEndsTheLoadAndKeepsEarlierFrames) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Text("TIT2", "Song").Text("TP 1", "x"));
    EXPECT_EQ(loaded.result, BadFrameId);
    EXPECT_EQ(loaded.tag.Frames().Count(), 1u);
    EXPECT_TRUE(loaded.tag.Loaded());
    EXPECT_EQ(loaded.tag.LastResult(), BadFrameId);
}

TEST(Id3v2Frames, PaddingSizeIsTheCountOfPaddingBytes) {
    EXPECT_EQ(LoadTag(Id3v2TagWriter(4).Text("TIT2", "a").Padding(100)).tag.PaddingSize(), 100u);
    EXPECT_EQ(LoadTag(Id3v2TagWriter(3).Text("TIT2", "a").Padding(3)).tag.PaddingSize(), 3u);
    LoadedTag mp3e = LoadTag(Id3v2TagWriter(3).Text("TIT2", "a").Mp3ePadding(64));
    EXPECT_EQ(mp3e.result, Ok);
    EXPECT_EQ(mp3e.tag.PaddingSize(), 64u);
    // Frames after the padding are not read.
    LoadedTag hidden = LoadTag(Id3v2TagWriter(4).Padding(20).Text("TIT2", "a"));
    EXPECT_EQ(hidden.result, Ok);
    EXPECT_EQ(hidden.tag.Frames().Count(), 0u);
}

TEST(Id3v2Frames, Version3FlagsTakeTheVersion4Layout) {
    Id3v2Frame frame = RawFrame("PRIV", BytesOf("content"));
    frame.statusFlags = 0xE0;
    frame.encrypted = true;
    frame.encryptionMethod = 0x81;
    frame.groupId = 0x07;
    frame.compressed = true;
    frame.dataLength = 1234;
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(frame));
    ASSERT_EQ(loaded.result, Ok);
    const FrameRecord& record = loaded.tag.Frames()[1];
    EXPECT_EQ(record.statusFlags, 0x70);
    EXPECT_EQ(record.formatFlags, FrameRecord::Grouping | FrameRecord::Compression |
                                      FrameRecord::Encryption | FrameRecord::DataLengthIndicator);
    EXPECT_EQ(record.pendingFlags, record.formatFlags);
    EXPECT_EQ(record.dataLength, 1234u);
    EXPECT_EQ(record.encryptionMethod, 0x81);
    EXPECT_EQ(record.groupId, 0x07);
    EXPECT_EQ(record.headerLength, 16u);
    EXPECT_EQ(record.data, ZlibCompress(BytesOf("content")));
}

TEST(Id3v2Frames, Version4ExtraBytesAndOffsets) {
    Id3v2Frame first = RawFrame("PRIV", BytesOf("abc"));
    first.groupId = 0x11;
    first.encrypted = true;
    first.encryptionMethod = 0x22;
    first.dataLengthIndicator = true;
    first.dataLength = 300;
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4)
                                   .ExtendedHeader(Id3v2ExtendedHeaderV4{.update = true})
                                   .Add(first)
                                   .Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    const FrameRecord& record = loaded.tag.Frames()[1];
    EXPECT_EQ(record.groupId, 0x11);
    EXPECT_EQ(record.encryptionMethod, 0x22);
    EXPECT_EQ(record.dataLength, 300u);
    EXPECT_EQ(record.headerLength, 16u);
    EXPECT_EQ(record.data, BytesOf("abc"));
    EXPECT_EQ(record.frameOffset, 7u + 10u); // after the extended header and the frame header
    EXPECT_EQ(loaded.tag.Frames()[2].frameOffset, 17u + 6u + 3u + 10u);
}

TEST(Id3v2Frames, Version4SizeBytesWithTheHighBitSetAreTakenAsTheyStand) {
    Id3v2Frame frame = RawFrame("PRIV", Bytes(0x85, 'p'));
    frame.rawSize = std::array<std::uint8_t, 4>{0, 0, 0, 0x85};
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Add(frame).Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.Frames()[1].data.size(), 0x85u);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2Frames, FramesLargerThanTheRingArriveWhole) {
    // Bodies of 64 KiB and more are read in pieces; frames that span the pieces must not show it.
    Bytes big(200000);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    Id3v2TagWriter writer(4);
    writer.Add(RawFrame("APIC", big));
    for (int i = 0; i < 300; ++i) {
        writer.Add(RawFrame("PRIV", Bytes(100 + static_cast<std::size_t>(i), 'x')));
    }
    writer.Text("TIT2", "After").Padding(1000);
    LoadedTag loaded = LoadTag(writer);
    ASSERT_EQ(loaded.result, Ok);
    ASSERT_EQ(loaded.tag.Frames().Count(), 302u);
    EXPECT_EQ(loaded.tag.Frames()[1].data, big);
    EXPECT_EQ(loaded.tag.Frames()[301].data, Bytes(399, 'x'));
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "After");
    EXPECT_EQ(loaded.tag.PaddingSize(), 1000u);
}

TEST(Id3v2Frames, FrameIndexCountsFromOne) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Text("TIT2", "a").Text("TPE1", "b"));
    ASSERT_EQ(loaded.result, Ok);
    const tags::FrameIndex& frames = loaded.tag.Frames();
    EXPECT_EQ(frames[1].id, "TIT2");
    EXPECT_EQ(frames[2].id, "TPE1");
    EXPECT_THROW(frames[0], tags::FrameIndexRangeError);
    EXPECT_THROW(loaded.tag.Frames()[3], tags::FrameIndexRangeError);
    try {
        (void)frames[3];
        FAIL() << "no range error";
    } catch (const tags::FrameIndexRangeError& error) {
        EXPECT_STREQ(error.what(), "Array range out of bounds.");
    }
}

} // namespace
} // namespace tralvo::test
