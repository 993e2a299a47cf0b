// Both forms of the extended header, and the frames that follow them.
#include "id3v2_test_support.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace tags::id3v2_result;

TEST(Id3v2ExtendedHeader, Version3WithCrcAndDeclaredPadding) {
    LoadedTag loaded =
        LoadTag(Id3v2TagWriter(3)
                    .ExtendedHeader(Id3v2ExtendedHeaderV3{.crc = 0xDEADBEEF, .paddingSize = 30})
                    .Text("TIT2", "Song")
                    .Padding(30));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.ExtendedHeaderSize(), 10u);
    EXPECT_EQ(loaded.tag.ExtendedHeaderFlags(), 0x20);
    EXPECT_EQ(loaded.tag.Crc(), 0xDEADBEEFu);
    EXPECT_EQ(loaded.tag.PaddingSize(), 30u);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2ExtendedHeader, Version3PaddingThatDiffersFromTheDeclaredWarns) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .ExtendedHeader(Id3v2ExtendedHeaderV3{.paddingSize = 50})
                                   .Text("TIT2", "Song")
                                   .Padding(30));
    EXPECT_EQ(loaded.result, WarnPaddingDiffers);
    EXPECT_EQ(loaded.tag.PaddingSize(), 50u);
}

TEST(Id3v2ExtendedHeader, Version3CrcIsReadOnlyWithSizeTen) {
    // With size 6 the CRC flag brings no CRC bytes: the frame follows at once.
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .ExtendedHeader(Id3v2ExtendedHeaderV3{
                                       .size = 6, .flags = std::array<std::uint8_t, 2>{0x80, 0}})
                                   .Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.Crc(), 0u);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
    EXPECT_EQ(LoadTag(Id3v2TagWriter(3)
                          .ExtendedHeader(Id3v2ExtendedHeaderV3{
                              .flags = std::array<std::uint8_t, 2>{0x00, 0x01}})
                          .Text("TIT2", "Song"))
                  .result,
              WarnUnknownExtendedFlags);
}

TEST(Id3v2ExtendedHeader, Version4ItemsAreRead) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4)
                                   .ExtendedHeader(Id3v2ExtendedHeaderV4{
                                       .update = true, .crc = 0x712345678, .restrictions = 0x5A})
                                   .Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.ExtendedHeaderFlags(), 0x70);
    EXPECT_EQ(loaded.tag.ExtendedHeaderSize(), 15u);
    EXPECT_EQ(loaded.tag.Crc(), 0x12345678u); // 35 bits kept in 32
    EXPECT_EQ(loaded.tag.Restrictions(), 0x5A);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2ExtendedHeader, Version4UnknownFlagsAndExtraFlagBytesWarn) {
    // The item of bit 0x80 is skipped, so the restrictions item after it is still found.
    const Bytes raw{0, 0, 0, 11, 1, 0x90, 2, 0xAA, 0xBB, 1, 0x42};
    LoadedTag loaded = LoadTag(
        Id3v2TagWriter(4).ExtendedHeader(Id3v2ExtendedHeaderV4{.raw = raw}).Text("TIT2", "Song"));
    EXPECT_EQ(loaded.result, WarnUnknownExtendedFlags);
    EXPECT_EQ(loaded.tag.Restrictions(), 0x42);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");

    EXPECT_EQ(LoadTag(Id3v2TagWriter(4)
                          .ExtendedHeader(Id3v2ExtendedHeaderV4{.update = true, .flagByteCount = 2})
                          .Text("TIT2", "Song"))
                  .result,
              WarnUnknownExtendedFlags);
}

TEST(Id3v2ExtendedHeader, FlagWithoutRoomForTheHeaderReadsNoExtendedHeader) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).HeaderFlags(0x40).Padding(6));
    EXPECT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.ExtendedHeaderSize(), 0u);
    EXPECT_EQ(loaded.tag.PaddingSize(), 6u);
}

} // namespace
} // namespace tralvo::test
