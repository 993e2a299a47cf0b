// The tag header, the load results it gives and the reader's fields after a load.
#include "id3v2_test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::test {
namespace {

using namespace std::string_view_literals;

using namespace tags::id3v2_result;

Bytes HeaderOnly(std::uint8_t version, std::uint8_t revision, std::uint8_t flags, Bytes size) {
    Bytes bytes{'I', 'D', '3', version, revision, flags};
    Append(bytes, size);
    return bytes;
}

TEST(Id3v2Header, CleanLoadFillsTheFields) {
    const Id3v2TagWriter writer = Id3v2TagWriter(3).Text("TIT2", "Song").Padding(20);
    LoadedTag loaded = LoadTag(writer);
    ASSERT_EQ(loaded.result, Ok);
    const tags::Id3v2Tag& tag = loaded.tag;
    EXPECT_EQ(tag.MajorVersion(), 3);
    EXPECT_EQ(tag.TagSize(), writer.Body().size());
    EXPECT_EQ(tag.LastResult(), Ok);
    EXPECT_TRUE(tag.Loaded());
    EXPECT_EQ(tag.Progress(), 100);
    EXPECT_EQ(tag.Status(), "Load Complete");
    EXPECT_EQ(tag.Frames().Count(), 1u);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2"), (TextResult{0, "Song"}));
}

TEST(Id3v2Header, FilesThatCannotBeOpened) {
    TempFolder folder;
    tags::Id3v2Tag tag;
    EXPECT_EQ(tag.LoadFromFile(folder / "missing.mp3", 0), CannotOpen);
    EXPECT_EQ(tag.FileName(), folder / "missing.mp3");
    EXPECT_EQ(tag.LoadFromFile(folder.MakeFolder("folder.mp3"), 0), CannotOpen);
    EXPECT_EQ(tag.Status(), ""); // nothing was loaded
}

TEST(Id3v2Header, StartOffsetNotBelowFileSize) {
    const Bytes file = Mp3File(Id3v2TagWriter().Text("TIT2", "a").Build(), 0);
    EXPECT_EQ(LoadBytes(file, static_cast<std::uint32_t>(file.size())).result, OffsetBeyondFile);
    EXPECT_EQ(LoadBytes(file, 1u << 30).result, OffsetBeyondFile);
    EXPECT_EQ(LoadBytes({}).result, OffsetBeyondFile);
}

TEST(Id3v2Header, TagIsFoundAtTheStartOffset) {
    Bytes file(100, 'x');
    Append(file, Mp3File(Id3v2TagWriter(4).Text("TALB", "Album").Build()));
    LoadedTag loaded = LoadBytes(file, 100);
    ASSERT_EQ(loaded.result, Ok);
    EXPECT_EQ(loaded.tag.StartOffset(), 100u);
    EXPECT_EQ(TextOf(loaded.tag, "TALB").text, "Album");
    EXPECT_EQ(LoadBytes(file, 0).result, NoTag);
}

TEST(Id3v2Header, NoTagResults) {
    const LoadedTag plainMp3 = LoadBytes(FakeMpegFrames(2));
    EXPECT_EQ(plainMp3.result, NoTag);
    EXPECT_EQ(plainMp3.tag.Status(), "Loading tag");
    EXPECT_FALSE(plainMp3.tag.Loaded());

    EXPECT_EQ(LoadBytes(BytesOf("ID3\3\0\0\0\0\0"sv)).result, NoTag); // nine bytes
    EXPECT_EQ(LoadBytes(Mp3File(HeaderOnly(0xFF, 0, 0, {0, 0, 0, 0}))).result, NoTag);
    EXPECT_EQ(LoadBytes(Mp3File(HeaderOnly(3, 0xFF, 0, {0, 0, 0, 0}))).result, NoTag);
    // A size byte with its high bit set means no tag, not a corrupt one.
    EXPECT_EQ(LoadBytes(Mp3File(HeaderOnly(3, 0, 0, {0, 0, 0, 0x80}))).result, NoTag);
}

TEST(Id3v2Header, VersionsOtherThanThreeAndFourAreRefused) {
    // Version 2 has three-letter ids; its frames cannot be read as ours.
    LoadedTag v2 = LoadBytes(Mp3File(HeaderOnly(2, 0, 0, {0, 0, 0, 10})));
    EXPECT_EQ(v2.result, UnsupportedVersion);
    EXPECT_EQ(v2.tag.MajorVersion(), 2);
    EXPECT_EQ(LoadBytes(Mp3File(HeaderOnly(5, 0, 0, {0, 0, 0, 0}))).result, UnsupportedVersion);
}

TEST(Id3v2Header, NonzeroRevisionLoadsWithAWarning) {
    LoadedTag loaded = LoadTag(Id3v2TagWriter(3).Revision(1).Text("TIT2", "Song"));
    EXPECT_EQ(loaded.result, WarnRevision);
    EXPECT_EQ(loaded.tag.Revision(), 1);
    EXPECT_EQ(TextOf(loaded.tag, "TIT2").text, "Song");
}

TEST(Id3v2Header, HeaderFlagsPerVersion) {
    LoadedTag v3 = LoadTag(Id3v2TagWriter(3).HeaderFlags(0x30).Text("TIT2", "a"));
    EXPECT_EQ(v3.result, WarnUnknownHeaderFlags); // 0x10 is the footer of version 4 only
    EXPECT_EQ(v3.tag.HeaderFlags(), 0x20);

    LoadedTag v4 = LoadTag(Id3v2TagWriter(4).Footer().Experimental().Text("TIT2", "a"));
    EXPECT_EQ(v4.result, Ok);
    EXPECT_EQ(v4.tag.HeaderFlags(), 0x30);
    EXPECT_EQ(LoadTag(Id3v2TagWriter(4).HeaderFlags(0x01).Text("TIT2", "a")).result,
              WarnUnknownHeaderFlags);
}

TEST(Id3v2Header, TagPastEndOfFileKeepsItsWarnings) {
    const Bytes tag = Id3v2TagWriter(3).Text("TIT2", "Song").Build();
    const Bytes cut(tag.begin(), tag.end() - 1);
    EXPECT_EQ(LoadBytes(cut).result, TagPastEndOfFile);
    EXPECT_EQ(LoadBytes(Id3v2TagWriter(3).Revision(2).TagSize(1000).Build()).result,
              TagPastEndOfFile | WarnRevision);
}

TEST(Id3v2Header, ReloadReplacesTheFrames) {
    TempFolder folder;
    const std::string two = folder.WriteFile(
        "two.mp3",
        AsString(Mp3File(Id3v2TagWriter(3).Text("TIT2", "a").Text("TPE1", "b").Build())));
    const std::string one =
        folder.WriteFile("one.mp3", AsString(Mp3File(Id3v2TagWriter(4).Text("TALB", "c").Build())));
    tags::Id3v2Tag tag;
    ASSERT_EQ(tag.LoadFromFile(two, 0), Ok);
    ASSERT_EQ(tag.LoadFromFile(one, 0), Ok);
    EXPECT_EQ(tag.Frames().Count(), 1u);
    EXPECT_EQ(tag.MajorVersion(), 4);
    EXPECT_EQ(TextOf(tag, "TIT2").result, tags::id3v2_read::NotFound);
}

TEST(Id3v2Header, ReadOnlyMeansNoWritePermissionOrHidden) {
    TempFolder folder;
    const std::string content = AsString(Mp3File(Id3v2TagWriter().Text("TIT2", "a").Build()));
    const std::string plain = folder.WriteFile("plain.mp3", content);
    const std::string hidden = folder.WriteFile(".hidden.mp3", content);
    tags::Id3v2Tag tag;
    ASSERT_EQ(tag.LoadFromFile(plain, 0), Ok);
    EXPECT_FALSE(tag.ReadOnly());
    ASSERT_EQ(tag.LoadFromFile(hidden, 0), Ok);
    EXPECT_TRUE(tag.ReadOnly());
    ASSERT_EQ(::chmod(plain.c_str(), 0444), 0);
    ASSERT_EQ(tag.LoadFromFile(plain, 0), Ok);
    EXPECT_TRUE(tag.ReadOnly());
}

} // namespace
} // namespace tralvo::test
