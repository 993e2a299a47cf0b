#include "fixtures.h"
#include "playback/audio_engine.h"
#include "playback/writers/asf_writer.h"
#include "playback/writers/ogg_writer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo::playback {
namespace {

std::string_view AsText(const test::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

test::Bytes FixtureBytes(std::string_view name) {
    const std::string content = test::ReadFile(test::Fixture(name));
    return {content.begin(), content.end()};
}

// The whole block of NUL-terminated strings, up to and including the empty one that ends it.
std::string TagBlock(const char* tags) {
    std::string block;
    while (tags != nullptr && *tags != '\0') {
        const std::string_view entry(tags);
        block.append(entry).push_back('\0');
        tags += entry.size() + 1;
    }
    return tags == nullptr ? block : block + '\0';
}

// A string literal with its embedded NULs, without the one the compiler adds.
template <std::size_t Size>
std::string Block(const char (&text)[Size]) {
    return std::string(text, Size - 1);
}

class EngineTags : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr)); }

    AudioEngine engine;
    test::TempFolder folder;
};

// An empty comment is left out: it would end the block early.
TEST_F(EngineTags, VorbisCommentsComeBackExactlyAsStoredAndTheFileStillPlays) {
    const test::Bytes retagged =
        test::WithVorbisComments(FixtureBytes("tone.ogg"), "vendor",
                                 {"title=lower case", "TITLE=Upper", "Artist=One", "ARTIST=Two", "",
                                  "TRACKNUMBER= 7", "comment=a=b"});
    ASSERT_FALSE(retagged.empty());
    const std::string path = folder.WriteFile("retagged.ogg", AsText(retagged));

    const StreamHandle handle = engine.StreamCreateFile(false, path, 0, 0, 0);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(TagBlock(engine.ChannelGetTags(handle, TagsVorbisComments)),
              Block("title=lower case\0TITLE=Upper\0Artist=One\0ARTIST=Two\0TRACKNUMBER= "
                    "7\0comment=a=b\0\0"));
    EXPECT_EQ(engine.ChannelGetTags(handle, TagsWmaAttributes), nullptr);
    EXPECT_TRUE(engine.StreamFree(handle));

    const StreamHandle playing = engine.StreamCreateFile(false, path, 0, 0, AutoFreeFlag);
    EXPECT_NE(playing, 0u);
}

TEST_F(EngineTags, WmaAttributesComeBackAsNameColonValueWithNumbersInDecimal) {
    test::AsfTags tags;
    tags.content = test::AsfContentDescription{u"A title", u"An author", u"", u"", u""};
    tags.extended = {test::AsfAttribute::Text(u"WM/AlbumTitle", u"An album"),
                     test::AsfAttribute::Text(u"WM/Year", u"1999"),
                     test::AsfAttribute::Dword(u"WM/TrackNumber", 12)};
    const test::Bytes retagged = test::WithAsfAttributes(FixtureBytes("tone.wma"), tags);
    ASSERT_FALSE(retagged.empty());
    const std::string path = folder.WriteFile("retagged.wma", AsText(retagged));

    const StreamHandle handle = engine.WmaStreamCreateFile(false, path, 0, 0, 0);
    ASSERT_NE(handle, 0u);
    const std::string block = TagBlock(engine.ChannelGetTags(handle, TagsWmaAttributes));
    EXPECT_EQ(block, Block("Title : A title\0Author : An author\0WM/AlbumTitle : An album\0"
                           "WM/Year : 1999\0WM/TrackNumber : 12\0\0"));
    EXPECT_EQ(engine.ChannelGetTags(handle, TagsVorbisComments), nullptr);
    EXPECT_TRUE(engine.StreamFree(handle));

    EXPECT_NE(engine.WmaStreamCreateFile(false, path, 0, 0, AutoFreeFlag), 0u);
}

TEST_F(EngineTags, StreamsWithoutSuchTagsGiveNone) {
    const test::Bytes untagged = test::WithVorbisComments(FixtureBytes("tone.ogg"), "vendor", {});
    const std::string path = folder.WriteFile("untagged.ogg", AsText(untagged));
    for (const std::string& file : {path, test::Fixture("tone.wav"), test::Fixture("tone.mp3")}) {
        const StreamHandle handle = engine.StreamCreateFile(false, file, 0, 0, 0);
        ASSERT_NE(handle, 0u) << file;
        EXPECT_EQ(engine.ChannelGetTags(handle, TagsVorbisComments), nullptr) << file;
        EXPECT_EQ(engine.ErrorGetCode(), ErrorNotAvailable);
        engine.StreamFree(handle);
    }
}

TEST_F(EngineTags, TheTagsTheFfmpegCommandWroteAreRead) {
    const StreamHandle ogg = engine.StreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0);
    const StreamHandle wma = engine.WmaStreamCreateFile(false, test::Fixture("tone.wma"), 0, 0, 0);
    EXPECT_NE(TagBlock(engine.ChannelGetTags(ogg, TagsVorbisComments)).find("=Tone"),
              std::string::npos);
    EXPECT_NE(TagBlock(engine.ChannelGetTags(wma, TagsWmaAttributes)).find("Title : "),
              std::string::npos);
}

} // namespace
} // namespace tralvo::playback
