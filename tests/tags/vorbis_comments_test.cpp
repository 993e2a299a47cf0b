// Vorbis comments come out byte for byte as stored.
#include "tag_test_support.h"
#include "tags/writers/ogg_writer.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

std::optional<Strings> CommentsOf(const Strings& comments) {
    return VorbisCommentsOf(OggVorbisHeaders("vendor", comments));
}

TEST(VorbisComments, KeepsNameCaseRepeatsAndFileOrder) {
    const Strings comments = {"title=Song", "ARTIST=B",       "Artist=A",          "ARTIST=B",
                              "=no name",   "no equals sign", "DATE=\xE9t\xC3\xA9"};
    EXPECT_EQ(CommentsOf(comments), comments);
}

TEST(VorbisComments, GivesAnEmptyListForAHeaderWithoutComments) {
    EXPECT_EQ(CommentsOf({}), Strings{});
}

TEST(VorbisComments, CutsACommentAtANulByte) {
    // Tag text ends at its first NUL (latin1_text.h).
    EXPECT_EQ(CommentsOf({std::string("TITLE=a\0b", 9), "ALBUM=c"}),
              (Strings{"TITLE=a", "ALBUM=c"}));
}

TEST(VorbisComments, ReadsAFileMadeByFfmpegThroughAFileSource) {
    const TempFolder folder;
    const Bytes tone =
        EncodedTone("tone.ogg", {"-metadata", "title=Hello", "-metadata", "artist=Someone"});
    const std::string path = folder.WriteFile("tone.ogg", AsText(tone));
    const auto source = tags::FileSource::Open(path);
    ASSERT_NE(source, nullptr);
    const auto comments = tags::ReadVorbisComments(*source);
    ASSERT_TRUE(comments.has_value());
    EXPECT_NE(std::find(comments->begin(), comments->end(), "title=Hello"), comments->end());
    EXPECT_NE(std::find(comments->begin(), comments->end(), "artist=Someone"), comments->end());
}

TEST(VorbisComments, ReadsACommentHeaderBeyondTheFirstBlockOfAFile) {
    // The file source keeps the first 16 KiB; the rest comes from later reads.
    const TempFolder folder;
    const Strings comments = {"A=" + std::string(20000, 'a'), "B=" + std::string(40000, 'b')};
    const std::string path =
        folder.WriteFile("long.ogg", AsText(OggVorbisHeaders("v", comments, 1, 7)));
    const auto source = tags::FileSource::Open(path);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(tags::ReadVorbisComments(*source), comments);
}

} // namespace
} // namespace tralvo::test
