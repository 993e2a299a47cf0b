// Ogg pages and packets: the comment header is found however the pages cut it.
#include "tag_test_support.h"
#include "tags/writers/ogg_writer.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

Bytes Headers(const Strings& comments, std::size_t segmentsPerPage = 255) {
    return OggVorbisHeaders("vendor", comments, 1, segmentsPerPage);
}

TEST(OggPackets, JoinsACommentHeaderSpreadOverManyPages) {
    const Strings comments = {"TITLE=" + std::string(3000, 't'), "ARTIST=a", "ALBUM=b"};
    // One segment a page: a dozen pages, each after the first continuing the packet.
    EXPECT_EQ(VorbisCommentsOf(Headers(comments, 1)), comments);
    // Cover art takes megabytes: many full pages of 255 segments.
    const Strings picture = {"METADATA_BLOCK_PICTURE=" + std::string(3u << 20, 'p'), "TITLE=x"};
    EXPECT_EQ(VorbisCommentsOf(Headers(picture)), picture);
}

TEST(OggPackets, EndsAPacketOfWhole255ByteSegmentsAtTheEmptySegment) {
    // The comment packet: 7 + 4 + 6 + 4 + 4 + n + 1 bytes; n = 484 makes it 510 = 2 * 255, so
    // it ends with a 0 lacing value. With two segments a page that 0 starts the next page.
    const Strings comments = {"T=" + std::string(482, 'x')};
    ASSERT_EQ(VorbisCommentPacket("vendor", comments).size(), 510u);
    EXPECT_EQ(VorbisCommentsOf(Headers(comments)), comments);
    EXPECT_EQ(VorbisCommentsOf(Headers(comments, 2)), comments);
}

TEST(OggPackets, ReadsOnlyTheFirstLogicalStream) {
    const auto first = PageOggPackets(
        {VorbisIdentificationPacket(), VorbisCommentPacket("v", {"TITLE=first"})}, 7);
    const auto second = PageOggPackets(
        {VorbisIdentificationPacket(), VorbisCommentPacket("v", {"TITLE=second"})}, 8);
    // Both beginning pages first, then the second stream's comment page before the first's.
    const Bytes file = Concat(std::vector<Bytes>{first[0], second[0], second[1], first[1]});
    EXPECT_EQ(VorbisCommentsOf(file), Strings{"TITLE=first"});
}

TEST(OggPackets, SkipsJunkBeforeTheFirstPage) {
    // Some taggers put an ID3v2 tag in front of an Ogg file.
    Bytes file = BytesOf("ID3\x03" + std::string(600, '\0'));
    Append(file, Headers({"TITLE=x"}));
    EXPECT_EQ(VorbisCommentsOf(file), Strings{"TITLE=x"});
}

TEST(OggPackets, NeedsTheCommentHeaderAsSecondPacket) {
    const Bytes setup = BytesOf("\x05vorbis setup");
    EXPECT_EQ(VorbisCommentsOf(Concat(PageOggPackets({VorbisIdentificationPacket()}, 1))),
              std::nullopt);
    EXPECT_EQ(VorbisCommentsOf(Concat(PageOggPackets({VorbisIdentificationPacket(), setup}, 1))),
              std::nullopt);
    EXPECT_EQ(VorbisCommentsOf(Concat(PageOggPackets(
                  {BytesOf("\x01opus...."), VorbisCommentPacket("v", {"TITLE=x"})}, 1))),
              std::nullopt);
}

TEST(OggPackets, GivesUpWhenTheCommentHeaderStartsAfterTheFirstMebibyte) {
    // A first page, then a megabyte of pages of another stream before the comment header.
    const auto pages =
        PageOggPackets({VorbisIdentificationPacket(), VorbisCommentPacket("v", {"T=x"})}, 1);
    std::vector<Bytes> file = {pages[0]};
    for (std::uint32_t i = 0; i < 20; ++i) {
        file.push_back(OggPage({0, 0, 99, i}, Bytes(255, 255), Bytes(255 * 255, 0)));
    }
    file.push_back(pages[1]);
    EXPECT_EQ(VorbisCommentsOf(Concat(file)), std::nullopt);
    file.resize(10); // about 650 KB
    file.push_back(pages[1]);
    EXPECT_EQ(VorbisCommentsOf(Concat(file)), Strings{"T=x"});
}

// The writer's pages must be what a real decoder accepts: its CRC agrees with ffmpeg's pages,
// and a file with replaced comments decodes and shows them.
TEST(OggWriter, ComputesTheCrcThatFfmpegWrites) {
    const Bytes file = EncodedTone("tone.ogg");
    ASSERT_GT(file.size(), 100u);
    std::size_t offset = 0;
    int pages = 0;
    while (offset + 27 < file.size()) {
        const auto rest = std::span(file).subspan(offset);
        std::size_t size = 27 + rest[26];
        for (std::size_t i = 0; i < rest[26]; ++i) {
            size += rest[27 + i];
        }
        ASSERT_LE(size, rest.size());
        Bytes page(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(size));
        std::uint32_t stored = 0;
        for (std::size_t i = 4; i > 0; --i) {
            stored = stored << 8 | rest[22 + i - 1];
        }
        std::fill(page.begin() + 22, page.begin() + 26, 0);
        EXPECT_EQ(OggCrc32(page), stored) << "page at " << offset;
        offset += size;
        ++pages;
    }
    EXPECT_EQ(offset, file.size());
    EXPECT_GE(pages, 3);
}

TEST(OggWriter, ReplacesTheCommentsOfARealFileAndItStillDecodes) {
    const Bytes original = EncodedTone("tone.ogg", {"-metadata", "title=Old"});
    const Strings comments = {"title=New", "ARTIST=One", "ARTIST=Two",
                              "COMMENT=" + std::string(70000, 'c')};
    const Bytes tagged = WithVorbisComments(original, "our vendor", comments);
    ASSERT_FALSE(tagged.empty());
    EXPECT_EQ(VorbisCommentsOf(tagged), comments);

    const FfmpegView view = ViewedByFfmpeg(tagged, "tagged.ogg");
    EXPECT_TRUE(view.decodes);
    // ffmpeg joins repeated names with ";".
    EXPECT_NE(std::find(view.tags.begin(), view.tags.end(), "title=New"), view.tags.end());
    EXPECT_NE(std::find(view.tags.begin(), view.tags.end(), "ARTIST=One;Two"), view.tags.end());
}

} // namespace
} // namespace tralvo::test
