// ASF attributes as "name : value" texts in file order.
#include "tag_test_support.h"
#include "tags/writers/asf_writer.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

std::optional<Strings> AttributesOf(const AsfTags& tags) {
    return AsfAttributesOf(AsfTagHeader(tags));
}

TEST(AsfAttributes, FormatsEveryValueTypeAndSkipsByteArrays) {
    AsfTags tags;
    tags.extended = {AsfAttribute::Text(u"WM/AlbumTitle", u"Album"),
                     AsfAttribute::ByteArray(u"WM/Picture", Bytes(5000, 0xAB)),
                     AsfAttribute::Dword(u"WM/TrackNumber", 4000000000u),
                     AsfAttribute::Text(u"WM/Year", u"1999"),
                     AsfAttribute::Qword(u"Duration", 18446744073709551615u),
                     AsfAttribute::Word(u"WM/BeatsPerMinute", 65535),
                     AsfAttribute::Bool(u"IsVBR", true),
                     AsfAttribute::Bool(u"Protected", false),
                     AsfAttribute::Text(u"WM/Empty", u"")};
    EXPECT_EQ(AttributesOf(tags),
              (Strings{"WM/AlbumTitle : Album", "WM/TrackNumber : 4000000000", "WM/Year : 1999",
                       "Duration : 18446744073709551615", "WM/BeatsPerMinute : 65535", "IsVBR : 1",
                       "Protected : 0", "WM/Empty : "}));
}

TEST(AsfAttributes, NamesTheFilledContentDescriptionFieldsFirst) {
    AsfTags tags;
    tags.content = AsfContentDescription{u"T", u"A", u"", u"D", u"R"};
    tags.extended = {AsfAttribute::Text(u"WM/Year", u"2001")};
    tags.metadata = {AsfAttribute::Dword(u"WM/TrackNumber", 7), AsfAttribute::Bool(u"B", true)};
    EXPECT_EQ(AttributesOf(tags),
              (Strings{"Title : T", "Author : A", "Description : D", "Rating : R", "WM/Year : 2001",
                       "WM/TrackNumber : 7", "B : 1"}));
}

TEST(AsfAttributes, KeepsTheOrderOfTheObjectsInTheFile) {
    AsfTags content;
    content.content = AsfContentDescription{u"Song", u"", u"", u"", u""};
    const Bytes header = AsfHeaderObject(std::vector<Bytes>{
        AsfExtendedContentDescriptionObject({AsfAttribute::Text(u"title", u"lower")}),
        AsfTagObjects(content)[0]});
    EXPECT_EQ(AsfAttributesOf(header), (Strings{"title : lower", "Title : Song"}));
}

TEST(AsfAttributes, ConvertsTextToLatin1) {
    AsfTags tags;
    // U+00E9 stays one byte; U+20AC has none; U+1F600 is a surrogate pair, one character.
    tags.content = AsfContentDescription{u"Caf\u00E9 \u20AC\U0001F600!", u"", u"", u"", u""};
    tags.extended = {AsfAttribute::Text(u"N\u00E4me\u0100", u"lone \xD800 surrogate")};
    EXPECT_EQ(AttributesOf(tags), (Strings{"Title : Caf\xE9 ?"
                                           "?!",
                                           "N\xE4me? : lone ? surrogate"}));
}

TEST(AsfAttributes, EndsTextAtItsFirstNul) {
    AsfTags tags;
    tags.extended = {
        {u"WM/Year", 0, Utf16LeTerminated(std::u16string(u"2001\0junk", 9))},
        {u"Odd", 0, BytesOf(std::string_view("A\0B", 3))}}; // an odd last byte is ignored
    EXPECT_EQ(AttributesOf(tags), (Strings{"WM/Year : 2001", "Odd : A"}));
}

TEST(AsfAttributes, GivesNothingForAFileThatIsNotAsf) {
    EXPECT_EQ(AsfAttributesOf(BytesOf("RIFF....WAVEfmt ")), std::nullopt);
    EXPECT_EQ(AsfAttributesOf({}), std::nullopt);
    EXPECT_EQ(AsfAttributesOf(AsfTagHeader({})), Strings{});
}

TEST(AsfAttributes, ReadsAFileMadeByFfmpegThroughAFileSource) {
    const TempFolder folder;
    const Bytes tone =
        EncodedTone("tone.wma", {"-metadata", "title=Hello", "-metadata", "WM/Year=2001"});
    const auto source = tags::FileSource::Open(folder.WriteFile("tone.wma", AsText(tone)));
    ASSERT_NE(source, nullptr);
    const auto attributes = tags::ReadAsfAttributes(*source);
    ASSERT_TRUE(attributes.has_value());
    ASSERT_FALSE(attributes->empty());
    EXPECT_EQ(attributes->front(), "Title : Hello");
    EXPECT_NE(std::find(attributes->begin(), attributes->end(), "WM/Year : 2001"),
              attributes->end());
}

TEST(AsfWriter, ReplacesTheTagsOfARealFileAndItStillDecodes) {
    const Bytes original = EncodedTone("tone.wma", {"-metadata", "title=Old"});
    AsfTags tags;
    tags.content = AsfContentDescription{u"New", u"Someone", u"", u"", u""};
    tags.extended = {AsfAttribute::Text(u"WM/AlbumTitle", u"Album"),
                     AsfAttribute::Dword(u"WM/TrackNumber", 12),
                     AsfAttribute::ByteArray(u"WM/MCDI", Bytes(3000, 1))};
    tags.metadata = {AsfAttribute::Text(u"WM/Composer", u"C")};
    const Bytes tagged = WithAsfAttributes(original, tags);
    ASSERT_FALSE(tagged.empty());
    EXPECT_EQ(AsfAttributesOf(tagged),
              (Strings{"WM/Composer : C", "Title : New", "Author : Someone",
                       "WM/AlbumTitle : Album", "WM/TrackNumber : 12"}));

    const FfmpegView view = ViewedByFfmpeg(tagged, "tagged.wma");
    EXPECT_TRUE(view.decodes);
    EXPECT_NE(std::find(view.tags.begin(), view.tags.end(), "title=New"), view.tags.end());
    EXPECT_NE(std::find(view.tags.begin(), view.tags.end(), "album=Album"), view.tags.end());
    EXPECT_NE(std::find(view.tags.begin(), view.tags.end(), "track=12"), view.tags.end());
}

} // namespace
} // namespace tralvo::test
