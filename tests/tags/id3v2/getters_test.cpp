// GetTextFrame and GetComment: which frame they pick and what they give back.
#include "id3v2_test_support.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace std::string_view_literals;

using namespace tags::id3v2_read;

TEST(Id3v2GetTextFrame, OnlyTextIdsAreRead) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .Add(RawFrame("TXXX", Bytes{0, 'd', 0, 'v'}))
                                   .Comment("eng", "", "c")
                                   .Text("TIT2", "Song"));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    for (const std::string_view id : {"TXXX", "COMM", "TIT", "TIT22", "tit2"}) {
        EXPECT_EQ(TextOf(loaded.tag, id), (TextResult{NotATextId, ""})) << id;
    }
    EXPECT_EQ(TextOf(loaded.tag, "TPE1"), (TextResult{NotFound, ""}));
}

TEST(Id3v2GetTextFrame, EmptyAndEncryptedFrames) {
    Id3v2Frame encrypted = TextFrame("TALB", "Album");
    encrypted.encrypted = true;
    LoadedTag loaded = LoadTag(
        Id3v2TagWriter(4).Add(RawFrame("TIT2", {})).Add(RawFrame("TPE1", {3})).Add(encrypted));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{Empty, ""}));
    EXPECT_EQ(TextOf(loaded.tag, "TPE1"), (TextResult{Empty, ""}));
    EXPECT_EQ(TextOf(loaded.tag, "TALB"), (TextResult{Encrypted, ""}));
}

TEST(Id3v2GetTextFrame, OnlyTheFirstFrameWithTheIdIsRead) {
    // A title beyond U+00FF fails with the text read so far; the second title is not tried.
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .Add(TextFrame("TIT2", u"Caf\u00E9 \u20AC", Id3Encoding::Utf16))
                                   .Text("TIT2", "Second"));
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{BeyondLatin1, "Caf\xE9 "}));
}

TEST(Id3v2GetTextFrame, EveryEncodingReadsToLatin1) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4)
                                   .Add(TextFrame("TIT2", u"Caf\u00E9", Id3Encoding::Utf16))
                                   .Add(TextFrame("TPE1", u"Caf\u00E9", Id3Encoding::Utf16, true))
                                   .Add(TextFrame("TALB", u"Caf\u00E9", Id3Encoding::Utf16Be))
                                   .Add(TextFrame("TYER", u"Caf\u00E9", Id3Encoding::Utf8))
                                   .Text("TCON", "Caf\xE9"));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    for (const std::string_view id : {"TIT2", "TPE1", "TALB", "TYER", "TCON"}) {
        EXPECT_EQ(TextOf(loaded.tag, id), (TextResult{Ok, "Caf\xE9"})) << id;
    }
}

TEST(Id3v2GetTextFrame, SecondValueOfAVersion4FrameIsNotReturned) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Text("TPE1", std::string_view("One\0Two", 7)));
    EXPECT_EQ(TextOf(loaded.tag, "TPE1"), (TextResult{Ok, std::string("One\0", 4)}));
}

tags::TagComment NoComment() {
    return {99, "x", "x", "x"};
}

TEST(Id3v2GetComment, MatchesDescriptionAndAThreeCharacterLanguage) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3)
                                   .Comment("eng", "iTunNORM", " 0000")
                                   .Comment("deu", "", "Deutsch")
                                   .Comment("eng", "", "English"));
    ASSERT_EQ(loaded.result, tags::id3v2_result::Ok);
    tags::TagComment comment = NoComment();
    EXPECT_EQ(loaded.tag.GetComment(comment, "", "None"), Ok);
    EXPECT_EQ(comment.text, "Deutsch");
    EXPECT_EQ(comment.language, "deu");
    EXPECT_EQ(loaded.tag.GetComment(comment, "", "eng"), Ok);
    EXPECT_EQ(comment.text, "English");
    EXPECT_EQ(loaded.tag.GetComment(comment, "iTunNORM", "eng"), Ok);
    EXPECT_EQ(comment.description, "iTunNORM");
    EXPECT_EQ(comment.text, " 0000");
    EXPECT_EQ(loaded.tag.GetComment(comment, "", "fra"), NotFound);
    EXPECT_EQ(loaded.tag.GetComment(comment, "itunnorm", "None"), NotFound);
}

TEST(Id3v2GetComment, MultiLineTextInLatin1ButNotInUtf16) {
    LoadedTag latin1 = LoadTag(Id3v2TagWriter(3).Comment("eng", "", "Line one\r\nLine two"));
    tags::TagComment comment = NoComment();
    EXPECT_EQ(latin1.tag.GetComment(comment, "", "None"), Ok);
    EXPECT_EQ(comment.encoding, 0);
    EXPECT_EQ(comment.text, "Line one\r\nLine two");

    LoadedTag utf16 = LoadTag(Id3v2TagWriter(3).Add(
        CommentFrame("eng", u"", u"Line one\r\nLine two", Id3Encoding::Utf16)));
    EXPECT_EQ(utf16.tag.GetComment(comment, "", "None"), BadText);
    EXPECT_EQ(comment.text, "");
}

TEST(Id3v2GetComment, AnUnreadableCommentEndsTheSearch) {
    Id3v2Frame badMark = CommentFrame("eng", "", "first");
    badMark.content[0] = 1; // UTF-16 without a byte-order mark
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Add(badMark).Comment("eng", "", "second"));
    tags::TagComment comment;
    EXPECT_EQ(loaded.tag.GetComment(comment, "", "None"), BadText);

    Id3v2Frame encrypted = CommentFrame("eng", "", "first");
    encrypted.encrypted = true;
    LoadedTag hidden = LoadTag(Id3v2TagWriter(4).Add(encrypted).Comment("eng", "", "second"));
    EXPECT_EQ(hidden.tag.GetComment(comment, "", "None"), Encrypted);

    LoadedTag shortFrame = LoadTag(
        Id3v2TagWriter(4).Add(RawFrame("COMM", BytesOf("\0eng"sv))).Comment("eng", "", "x"));
    EXPECT_EQ(shortFrame.tag.GetComment(comment, "", "None"), Empty);
}

TEST(Id3v2GetComment, MatchWithoutTextStillFillsTheComment) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(4).Add(RawFrame("COMM", BytesOf("\0engdesc"sv))));
    tags::TagComment comment = NoComment();
    EXPECT_EQ(loaded.tag.GetComment(comment, "desc", "eng"), Empty);
    EXPECT_EQ(comment.description, "desc");
    EXPECT_EQ(comment.language, "eng");
    EXPECT_EQ(comment.text, "");
}

} // namespace
} // namespace tralvo::test
