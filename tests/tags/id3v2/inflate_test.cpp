// Compressed frames: inflated on first read, within a limit.
#include "id3v2_test_support.h"
#include "support/allocation_watch.h"
#include "tags/id3v2/frame_inflate.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace tags::id3v2_read;
using tags::FrameRecord;

Id3v2Frame CompressedText(std::string_view id, std::string_view text) {
    Id3v2Frame frame = TextFrame(id, text);
    frame.compressed = true;
    return frame;
}

TEST(Id3v2Inflate, Version3FrameIsInflatedOnFirstRead) {
    const Id3v2Frame frame = CompressedText("TIT2", "A compressed title");
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(frame));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    const FrameRecord& record = loaded.tag.Frames()[1];
    EXPECT_EQ(record.dataLength, frame.content.size());
    EXPECT_EQ(record.data, ZlibCompress(frame.content));

    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{Ok, "A compressed title"}));
    EXPECT_EQ(record.data, frame.content);
    EXPECT_EQ(record.dataLength, 0u);
    EXPECT_EQ(record.pendingFlags & FrameRecord::Compression, 0);
    EXPECT_TRUE(record.modified);
}

TEST(Id3v2Inflate, Version4FrameUnsynchronisedAndCompressed) {
    Id3v2Frame frame = CommentFrame("eng", "", "Compressed comment");
    frame.compressed = true;
    frame.unsynchronised = true;
    frame.dataLength = 5000; // longer than the data: tolerated
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Add(frame));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    tags::TagComment comment;
    EXPECT_EQ(loaded.tag.GetComment(comment, "", "eng"), Ok);
    EXPECT_EQ(comment.text, "Compressed comment");
}

// Taggers write decompressed sizes that are too small or too large; the frame still reads.
TEST(Id3v2Inflate, StoredLengthThatDiffersFromTheInflatedOneIsTolerated) {
    Id3v2Frame shorter = CompressedText("TPE1", "Zipped Grouped");
    shorter.groupId = 7;
    shorter.dataLength = 3;
    Id3v2Frame longer = CompressedText("TIT2", "Zipped longer");
    longer.dataLength = 1u << 30;
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(shorter).Add(longer));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);

    const AllocationWatch watch;
    EXPECT_EQ(TextOf(loaded.tag, "TPE1"), (TextResult{Ok, "Zipped Grouped"}));
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{Ok, "Zipped longer"}));
    EXPECT_LT(watch.Largest(), 4096u); // the claimed gigabyte is never allocated
}

TEST(Id3v2Inflate, inflate_bomb_stops_at_the_ceiling) {
    // One byte more than the ceiling, whatever the frame declares.
    Id3v2Frame bomb = CompressedText("TIT2", std::string(tags::id3v2::InflateCeiling, 'a'));
    bomb.dataLength = 100;
    Id3v2Frame fits = CompressedText("TPE1", std::string(tags::id3v2::InflateCeiling - 1, 'b'));
    fits.dataLength = 0;
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(bomb).Add(fits));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);

    const AllocationWatch watch;
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").result, UnknownEncoding);
    EXPECT_LE(watch.Largest(), tags::id3v2::InflateCeiling + 1);
    const TextResult read = TextOf(loaded.tag, "TPE1");
    EXPECT_EQ(read.result, Ok);
    EXPECT_EQ(read.text.size(), tags::id3v2::InflateCeiling - 1);
}

TEST(Id3v2Inflate, corrupt_zlib_is_read_as_stored) {
    Id3v2Frame frame = TextFrame("TIT2", "");
    frame.compressed = true;
    frame.payload = Bytes{0, 'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'};
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Add(frame));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{Ok, "not zlib"}));
}

TEST(Id3v2Inflate, EncryptedFramesAreNeitherInflatedNorRead) {
    Id3v2Frame frame = CompressedText("TIT2", "secret");
    frame.encrypted = true;
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(frame));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{Encrypted, ""}));
    EXPECT_EQ(loaded.tag.Frames()[1].data, ZlibCompress(frame.content));
}

} // namespace
} // namespace tralvo::test
