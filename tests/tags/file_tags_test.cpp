#include "playback/fixtures.h"
#include "support/temp_folder.h"
#include "tags/file_tags.h"
#include "tags/writers/asf_writer.h"
#include "tags/writers/ogg_writer.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using Strings = std::vector<std::string>;

std::string_view AsText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

Bytes FixtureBytes(std::string_view name) {
    const std::string content = ReadFile(Fixture(name));
    return {content.begin(), content.end()};
}

class FileTags : public ::testing::Test {
protected:
    std::string Write(std::string_view name, const Bytes& bytes) {
        return folder.WriteFile(name, AsText(bytes));
    }

    TempFolder folder;
};

TEST_F(FileTags, VorbisCommentsComeBackExactlyAsStored) {
    const Bytes retagged = WithVorbisComments(FixtureBytes("tone.ogg"), "vendor",
                                              {"title=lower case", "TITLE=Upper", "Artist=One",
                                               "ARTIST=Two", "", "TRACKNUMBER= 7", "comment=a=b"});
    ASSERT_FALSE(retagged.empty());
    const std::string path = Write("retagged.ogg", retagged);
    EXPECT_EQ(tags::ReadFileVorbisComments(path),
              (Strings{"title=lower case", "TITLE=Upper", "Artist=One", "ARTIST=Two", "",
                       "TRACKNUMBER= 7", "comment=a=b"}));
    EXPECT_EQ(tags::ReadFileAsfAttributes(path), std::nullopt);
}

TEST_F(FileTags, WmaAttributesComeBackAsNameColonValueWithNumbersInDecimal) {
    AsfTags tags;
    tags.content = AsfContentDescription{u"A title", u"An author", u"", u"", u""};
    tags.extended = {AsfAttribute::Text(u"WM/AlbumTitle", u"An album"),
                     AsfAttribute::Text(u"WM/Year", u"1999"),
                     AsfAttribute::Dword(u"WM/TrackNumber", 12)};
    const Bytes retagged = WithAsfAttributes(FixtureBytes("tone.wma"), tags);
    ASSERT_FALSE(retagged.empty());
    const std::string path = Write("retagged.wma", retagged);
    EXPECT_EQ(tags::ReadFileAsfAttributes(path),
              (Strings{"Title : A title", "Author : An author", "WM/AlbumTitle : An album",
                       "WM/Year : 1999", "WM/TrackNumber : 12"}));
    EXPECT_EQ(tags::ReadFileVorbisComments(path), std::nullopt);
}

TEST_F(FileTags, OtherContainersAndUnreadableFilesGiveNothing) {
    const std::string untagged =
        Write("untagged.ogg", WithVorbisComments(FixtureBytes("tone.ogg"), "vendor", {}));
    EXPECT_EQ(tags::ReadFileVorbisComments(untagged), Strings{});
    for (const std::string& file :
         {Fixture("tone.wav"), Fixture("tone.mp3"), folder.path(), folder / "missing.ogg"}) {
        EXPECT_EQ(tags::ReadFileVorbisComments(file), std::nullopt) << file;
        EXPECT_EQ(tags::ReadFileAsfAttributes(file), std::nullopt) << file;
    }
}

// A file its caller opened reads as the same file by its path; nothing opened, nothing read.
TEST_F(FileTags, AnOpenedFileReadsAsItsPath) {
    for (const std::string name : {"tone.ogg", "tone.wma"}) {
        const std::string path = Fixture(name);
        UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(file.valid()) << path;
        UniqueFd again(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(again.valid()) << path;
        EXPECT_EQ(tags::ReadFileVorbisComments(std::move(file)), tags::ReadFileVorbisComments(path))
            << name;
        EXPECT_EQ(tags::ReadFileAsfAttributes(std::move(again)), tags::ReadFileAsfAttributes(path))
            << name;
    }
    EXPECT_EQ(tags::ReadFileVorbisComments(UniqueFd()), std::nullopt);
    EXPECT_EQ(tags::ReadFileAsfAttributes(UniqueFd()), std::nullopt);
}

// The container is told from the first block alone, as playback tells it: an Ogg file behind
// an ID3v2 tag is an MPEG file, though the Ogg parser on its own would find the comments.
TEST_F(FileTags, AFileThatDoesNotBeginAsItsContainerHasNoSuchTags) {
    Bytes prefixed = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
    const Bytes ogg = FixtureBytes("tone.ogg");
    prefixed.insert(prefixed.end(), ogg.begin(), ogg.end());
    EXPECT_EQ(tags::ReadFileVorbisComments(Write("prefixed.ogg", prefixed)), std::nullopt);
}

TEST_F(FileTags, TheTagsTheFfmpegCommandWroteAreRead) {
    const auto ogg = tags::ReadFileVorbisComments(Fixture("tone.ogg"));
    const auto wma = tags::ReadFileAsfAttributes(Fixture("tone.wma"));
    ASSERT_TRUE(ogg && wma);
    // The ffmpeg command chooses the case of the names.
    EXPECT_TRUE(std::any_of(ogg->begin(), ogg->end(), [](const std::string& entry) {
        return entry.ends_with("=Tone Title");
    }));
    EXPECT_NE(std::find(wma->begin(), wma->end(), "Title : Tone Title"), wma->end());
}

} // namespace
} // namespace tralvo::test
