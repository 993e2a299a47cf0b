#include "media/sound_file.h"
#include "media/writers/id3v2_writer.h"
#include "platform/forwarding_file_system.h"
#include "platform/unique_fd.h"
#include "playback/audio_engine.h"
#include "playback/engine_hold.h"
#include "playback/fixtures.h"
#include "support/temp_folder.h"
#include "tags/writers/asf_writer.h"
#include "tags/writers/ogg_writer.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace tralvo::media {
namespace {

using test::TempFolder;

std::string_view AsText(const test::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

test::Bytes FixtureBytes(std::string_view name) {
    const std::string content = test::ReadFile(test::Fixture(name));
    return {content.begin(), content.end()};
}

// A 128-byte ID3v1 tag; trackByte125 and trackByte126 are the comment's last two bytes.
std::string Id3v1(std::string_view title, std::string_view comment, char byte125, char byte126) {
    std::string tag(128, '\0');
    std::memcpy(tag.data(), "TAG", 3);
    std::memcpy(tag.data() + 3, title.data(), std::min<std::size_t>(title.size(), 30));
    std::memcpy(tag.data() + 33, "Artist", 6);
    std::memcpy(tag.data() + 63, " Album ", 7);
    std::memcpy(tag.data() + 93, "1987", 4);
    std::memcpy(tag.data() + 97, comment.data(), std::min<std::size_t>(comment.size(), 30));
    tag[125] = byte125;
    tag[126] = byte126;
    tag[127] = 17;
    return tag;
}

TEST(SoundFileKind, ComesFromTheLowerCasedExtensionOfTheName) {
    EXPECT_EQ(KindOfPath("/m/SONG.MP3"), KindMp3);
    EXPECT_EQ(KindOfPath("/m/a.Ogg"), KindOggVorbis);
    EXPECT_EQ(KindOfPath("/m/a.wma"), KindWma);
    EXPECT_EQ(KindOfPath("/m/a.wav"), KindWav);
    EXPECT_EQ(KindOfPath("/m/song.mp3.bak"), KindUnknown);
    EXPECT_EQ(KindOfPath("/m/noextension"), KindUnknown);
    EXPECT_EQ(KindOfPath("/m.mp3/noextension"), KindUnknown);
}

TEST(SoundFileKind, EachKindsExtensionNamesThatKind) {
    for (const SoundKind kind : {KindMp3, KindOggVorbis, KindWma, KindWav}) {
        EXPECT_EQ(KindOfPath("/m/a" + std::string(ExtensionOf(kind))), kind) << int{kind};
    }
    EXPECT_EQ(ExtensionOf(KindUnknown), "");
}

TEST(SoundFileText, TrackNumbersConvertOnlyWholeNumbers) {
    EXPECT_EQ(ConvertTrackNumber("5"), 5);
    EXPECT_EQ(ConvertTrackNumber("  5"), 5);
    EXPECT_EQ(ConvertTrackNumber("5 "), 0);
    EXPECT_EQ(ConvertTrackNumber("3/12"), 0);
    EXPECT_EQ(ConvertTrackNumber(""), 0);
    EXPECT_EQ(ConvertTrackNumber("-1"), -1);
    EXPECT_EQ(ConvertTrackNumber("$10"), 16);
    EXPECT_EQ(ConvertTrackNumber("x10"), 16);
    EXPECT_EQ(ConvertTrackNumber("0X1f"), 31);
    EXPECT_EQ(ConvertTrackNumber("99999999999"), 0);
    EXPECT_EQ(TrimTagText(std::string_view("\0 Title\t\x1F", 10)), "Title");
}

TEST(SoundFileTime, DateTimesAndFileTimesRoundTripToTheMillisecond) {
    // 2024-02-29 13:45:30.123 UTC
    const FileTime time = 133536879301230000ull;
    const DateTime dateTime = FileTimeToDateTime(time);
    EXPECT_NEAR(dateTime, 45351.5732653125, 1e-9);
    EXPECT_EQ(DateTimeToFileTime(dateTime), time);
    EXPECT_EQ(DateTimeToFileTime(dateTime - 1.0), time - 864'000'000'000ull);
    // Sub-millisecond parts do not survive the calendar fields.
    EXPECT_EQ(DateTimeToFileTime(FileTimeToDateTime(time + 9999)), time);
    EXPECT_EQ(FileTimeToDateTime(DateTimeToFileTime(0.0)), 0.0);
    // Before day 0 the time of day is taken away from the negative day.
    EXPECT_EQ(DateTimeToFileTime(-1.25), DateTimeToFileTime(-1.0) + 6 * 36'000'000'000ull);
    EXPECT_EQ(FileTimeToDateTime(DateTimeToFileTime(-1.25)), -1.25);
}

// Refuses every open, as a player pulled out between the listing and the read would.
class NoOpens : public ForwardingFileSystem {
public:
    int asked = 0;
    Status OpenForReading(const std::string& path, UniqueFd&) override {
        ++asked;
        return Status::Failure(EIO, "open " + path);
    }
};

TEST(SoundFileId3v1, AndTheCreationTimeAreReadThroughTheRecordsFileSystem) {
    TempFolder folder;
    const std::string path =
        folder.WriteFile("a.mp3", std::string(500, '\xFF') + Id3v1("Song", "Comment", 0, 7));
    NoOpens fs;
    SoundFile file(path, fs);
    EXPECT_FALSE(file.HasTag());
    EXPECT_EQ(file.GetCreationTime(), 0.0);
    EXPECT_EQ(fs.asked, 2);
    EXPECT_TRUE(SoundFile(path).HasTag());
}

TEST(SoundFileOggAndWmaTags, AreReadThroughTheRecordsFileSystem) {
    for (const char* fixture : {"tone.ogg", "tone.wma"}) {
        NoOpens fs;
        SoundFile file(test::Fixture(fixture), fs);
        EXPECT_FALSE(file.HasTag()) << fixture;
        EXPECT_EQ(fs.asked, 1) << fixture;
        EXPECT_EQ(SoundFile(test::Fixture(fixture)).Title(), "Tone Title") << fixture;
    }
}

TEST(SoundFileId3v1, ReadsTheLast128BytesWithTheTrackByteRule) {
    TempFolder folder;
    const std::string withTrack =
        folder.WriteFile("a.mp3", std::string(500, '\xFF') + Id3v1("Song", "Comment", 0, 7));
    SoundFile a(withTrack);
    EXPECT_TRUE(a.HasTag());
    EXPECT_EQ(a.Title(), "Song");
    EXPECT_EQ(a.Artist(), "Artist");
    EXPECT_EQ(a.Album(), "Album");
    EXPECT_EQ(a.Year(), "1987");
    EXPECT_EQ(a.Comment(), "Comment");
    EXPECT_EQ(a.TrackNumber(), 7);

    const std::string fullComment(30, 'c');
    SoundFile b(folder.WriteFile("b.mp3", Id3v1("Song", fullComment, 'c', 'c')));
    EXPECT_EQ(b.TrackNumber(), 0);
    EXPECT_EQ(b.Comment(), fullComment);

    SoundFile shortFile(folder.WriteFile("c.mp3", "TAG short"));
    EXPECT_FALSE(shortFile.HasTag());
    SoundFile missing(folder / "missing.mp3");
    EXPECT_FALSE(missing.HasTag());
    EXPECT_EQ(missing.GetCreationTime(), 0.0);
}

class SoundFileId3v2 : public ::testing::Test {
protected:
    std::string WriteMp3(std::string_view name, const test::Id3v2TagWriter& tag,
                         const std::optional<test::Id3v1Fields>& id3v1 = std::nullopt) {
        return folder.WriteFile(name, test::AsString(test::Mp3File(tag.Build(), 3, id3v1)));
    }
    TempFolder folder;
};

TEST_F(SoundFileId3v2, FillsEveryFieldFromItsFrames) {
    test::Id3v2TagWriter tag(3);
    tag.Text("TIT2", " Title ")
        .Text("TPE1", "Artist")
        .Text("TALB", "Album")
        .Text("TYER", "1999-12")
        .Comment("deu", "described", "not this one")
        .Comment("eng", "", "Two\r\nlines")
        .Text("TRCK", " 5 ");
    SoundFile file(WriteMp3("a.mp3", tag, test::Id3v1Fields{.title = "v1", .track = 9}));
    EXPECT_TRUE(file.HasTag());
    EXPECT_EQ(file.Title(), "Title");
    EXPECT_EQ(file.Artist(), "Artist");
    EXPECT_EQ(file.Album(), "Album");
    EXPECT_EQ(file.Year(), "1999-12");
    EXPECT_EQ(file.Comment(), "Two\r\nlines");
    EXPECT_EQ(file.TrackNumber(), 5);
}

// The length is known without decoding only where a tag says it.
TEST_F(SoundFileId3v2, TheLengthComesFromTlenInMillisecondsOnly) {
    EXPECT_EQ(SoundFile(WriteMp3("a.mp3", test::Id3v2TagWriter(3).Text("TLEN", " 215400 ")))
                  .LengthInMilliseconds(),
              215400);
    for (const std::string_view bad : {"3:35", "-5", "", "1234567890123"}) {
        EXPECT_EQ(SoundFile(WriteMp3("b.mp3", test::Id3v2TagWriter(3).Text("TLEN", bad)))
                      .LengthInMilliseconds(),
                  -1)
            << bad;
    }
    EXPECT_EQ(SoundFile(WriteMp3("c.mp3", test::Id3v2TagWriter(3).Text("TIT2", "x")))
                  .LengthInMilliseconds(),
              -1);
}

TEST_F(SoundFileId3v2, TakesEveryFieldFromAGoodTagEvenWhereItIsEmpty) {
    test::Id3v2TagWriter tag(4);
    tag.Text("TIT2", "Only a title").Text("TDRL", "2003-04-01").Text("TRCK", "3/12");
    SoundFile file(WriteMp3("a.mp3", tag, test::Id3v1Fields{.title = "v1", .artist = "v1 artist"}));
    EXPECT_EQ(file.Title(), "Only a title");
    EXPECT_EQ(file.Artist(), "");
    EXPECT_EQ(file.Year(), "2003");
    EXPECT_EQ(file.TrackNumber(), 0);
}

TEST_F(SoundFileId3v2, ATagWithAWarningFallsBackToId3v1) {
    test::Id3v2TagWriter tag(3);
    tag.Revision(1).Text("TIT2", "v2 title");
    SoundFile file(WriteMp3("a.mp3", tag, test::Id3v1Fields{.title = "v1 title", .track = 4}));
    EXPECT_TRUE(file.HasTag());
    EXPECT_EQ(file.Title(), "v1 title");
    EXPECT_EQ(file.TrackNumber(), 4);

    test::Id3v2TagWriter corrupt(3);
    corrupt.Text("TIT2", "x").TagSize(1 << 20);
    EXPECT_FALSE(SoundFile(WriteMp3("b.mp3", corrupt)).HasTag());
}

TEST_F(SoundFileId3v2, TextBeyondLatin1LeavesTheFieldEmpty) {
    test::Id3v2TagWriter tag(3);
    tag.Add(test::TextFrame("TIT2", u"Caf\u00E9 \u0416", test::Id3Encoding::Utf16))
        .Add(test::TextFrame("TPE1", u"Caf\u00E9", test::Id3Encoding::Utf16))
        .Text("TDOR", "1970-01-01");
    SoundFile file(WriteMp3("a.mp3", tag));
    EXPECT_TRUE(file.HasTag());
    EXPECT_EQ(file.Title(), "");
    EXPECT_EQ(file.Artist(), "Caf\xE9");
    EXPECT_EQ(file.Year(), "1970");
}

TEST(SoundFileOggAndWmaTags, VorbisCommentsMatchNamesWithoutCase) {
    TempFolder folder;
    const test::Bytes ogg =
        test::WithVorbisComments(FixtureBytes("tone.ogg"), "v",
                                 {"title=Song", "TITLE=Second", "artist= Artist ", "date=2001",
                                  "comment=Nice", "tracknumber= 5", "album"});
    SoundFile file(folder.WriteFile("a.ogg", AsText(ogg)));
    EXPECT_TRUE(file.HasTag());
    EXPECT_EQ(file.Title(), "Song");
    EXPECT_EQ(file.Artist(), "Artist");
    EXPECT_EQ(file.Album(), "");
    EXPECT_EQ(file.Year(), "2001");
    EXPECT_EQ(file.Comment(), "Nice");
    EXPECT_EQ(file.TrackNumber(), 5);

    const test::Bytes trailing =
        test::WithVorbisComments(FixtureBytes("tone.ogg"), "v", {"TRACKNUMBER=5 "});
    EXPECT_EQ(SoundFile(folder.WriteFile("b.ogg", AsText(trailing))).TrackNumber(), 0);
}

TEST(SoundFileOggAndWmaTags, WmaAttributesMatchNamesExactly) {
    TempFolder folder;
    test::AsfTags tags;
    tags.content = test::AsfContentDescription{u"Song", u"Artist", u"", u"Not read", u""};
    tags.extended = {test::AsfAttribute::Text(u"WM/AlbumTitle", u"Album"),
                     test::AsfAttribute::Text(u"WM/Year", u"1999"),
                     test::AsfAttribute::Dword(u"WM/TrackNumber", 12)};
    const std::string path =
        folder.WriteFile("a.wma", AsText(test::WithAsfAttributes(FixtureBytes("tone.wma"), tags)));
    SoundFile file(path);
    EXPECT_TRUE(file.HasTag());
    EXPECT_EQ(file.Title(), "Song");
    EXPECT_EQ(file.Artist(), "Artist");
    EXPECT_EQ(file.Album(), "Album");
    EXPECT_EQ(file.Year(), "1999");
    EXPECT_EQ(file.Comment(), "");
    EXPECT_EQ(file.TrackNumber(), 12);

    test::AsfTags lower;
    lower.extended = {test::AsfAttribute::Text(u"title", u"Song")};
    const std::string lowerPath =
        folder.WriteFile("b.wma", AsText(test::WithAsfAttributes(FixtureBytes("tone.wma"), lower)));
    EXPECT_EQ(SoundFile(lowerPath).Title(), "");
}

// The tags are read by our own parsers, never through the audio engine.
TEST(SoundFileOggAndWmaTags, AReadDuringPlaybackLeavesThePlayersEngineAlone) {
    using playback::Device;
    using playback::EngineHold;
    {
        const auto player = EngineHold::Open(Device::Silent);
        ASSERT_TRUE(player);
        SoundFile file(test::Fixture("tone.ogg"));
        EXPECT_EQ(file.Title(), "Tone Title");
        EXPECT_EQ(EngineHold::Open(Device::Silent).Failure(), playback::Outcome::Already)
            << "the engine must still be initialised";
    }
    // Without a player the engine stays down.
    EXPECT_EQ(SoundFile(test::Fixture("tone.wma")).Title(), "Tone Title");
    EXPECT_TRUE(EngineHold::Open(Device::Silent));
}

TEST(SoundFileOggAndWmaTags, FilesWithoutTagsOrUnreadableOnesHaveNone) {
    EXPECT_FALSE(SoundFile(test::Fixture("tone.wav")).HasTag());
    EXPECT_FALSE(SoundFile(test::Fixture("truncated.ogg")).HasTag());
    EXPECT_FALSE(SoundFile(test::Fixture("text.mp3")).HasTag());
    TempFolder folder;
    const std::string copy =
        folder.WriteFile("renamed.ogg", test::ReadFile(test::Fixture("tone.mp3")));
    EXPECT_FALSE(SoundFile(copy).HasTag());
}

class SoundFileOrder : public ::testing::Test {
protected:
    SoundFile WithTitle(std::string_view name, std::string_view title, char track = 0) {
        return SoundFile(folder.WriteFile(name, Id3v1(title, "", 0, track)));
    }
    TempFolder folder;
};

TEST_F(SoundFileOrder, TextKeysFoldOnlyAToZAndCompareUnsignedBytes) {
    SoundFile lower = WithTitle("1.mp3", "abc");
    SoundFile upper = WithTitle("2.mp3", "ABC");
    EXPECT_TRUE(lower.IsEqual(upper, media::SortKey::Title));
    EXPECT_FALSE(lower.IsLess(upper, media::SortKey::Title));
    EXPECT_FALSE(upper.IsLess(lower, media::SortKey::Title));

    SoundFile zoo = WithTitle("3.mp3", "Zoo");
    SoundFile apple = WithTitle("4.mp3", "apple");
    SoundFile applesauce = WithTitle("5.mp3", "applesauce");
    SoundFile accented = WithTitle("6.mp3", "\xE9t\xE9");
    SoundFile accentedUpper = WithTitle("7.mp3", "\xC9T\xC9");
    EXPECT_TRUE(apple.IsLess(zoo, media::SortKey::Title));
    EXPECT_TRUE(apple.IsLess(applesauce, media::SortKey::Title));
    EXPECT_FALSE(applesauce.IsLess(apple, media::SortKey::Title));
    EXPECT_TRUE(zoo.IsLess(accented, media::SortKey::Title));
    EXPECT_FALSE(accented.IsEqual(accentedUpper, media::SortKey::Title));
    EXPECT_TRUE(lower.IsLess(upper, media::SortKey::FileName)); // the file names differ
}

TEST_F(SoundFileOrder, TrackNumbersCompareAsNumbersAndUnknownKeysNeverHold) {
    SoundFile two = WithTitle("1.mp3", "a", 2);
    SoundFile ten = WithTitle("2.mp3", "a", 10);
    EXPECT_TRUE(two.IsLess(ten, media::SortKey::TrackNumber));
    EXPECT_FALSE(ten.IsLess(two, media::SortKey::TrackNumber));
    for (const int key : {9, 200, 255}) {
        EXPECT_FALSE(two.IsLess(ten, static_cast<SortKey>(key)));
        EXPECT_FALSE(two.IsEqual(two, static_cast<SortKey>(key)));
    }
}

TEST_F(SoundFileOrder, CreationTimesAreReadOnceAndCompared) {
    SoundFile first = WithTitle("1.mp3", "a");
    const DateTime time = first.GetCreationTime();
    if (time == -1.0) {
        GTEST_SKIP() << "this file system keeps no creation times";
    }
    EXPECT_GT(time, 45000.0); // after 2023
    EXPECT_EQ(first.CreationTime(), time);
    SoundFile same = WithTitle("2.mp3", "a");
    EXPECT_FALSE(same.IsLess(first, media::SortKey::CreationTime));
}

} // namespace
} // namespace tralvo::media
