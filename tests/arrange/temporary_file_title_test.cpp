// A temporary file named after its title by the recovery without a journal: in UTF-8, the
// encoding of file names here, whatever the tag held, and always a name inside the folder.
#include "arrange/recovery.h"
#include "arrange/temporary_file_title.h"
#include "arrange_test_support.h"
#include "journal_test_support.h"
#include "media/writers/id3v2_writer.h"
#include "tags/writers/ogg_writer.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using namespace std::string_literals;

const std::string GreetingsLatin1 = "Gr\xFC\xDF"s + "e";
const std::string GreetingsUtf8 = "Gr\xC3\xBC\xC3\x9F"s + "e";
const std::string Replacement = "\xEF\xBF\xBD";

std::string Mp3WithId3v2(const test::Id3v2Frame& title) {
    return test::AsString(test::Mp3File(test::Id3v2TagWriter().Add(title).Build()));
}

std::string OggTitled(const std::string& title) {
    return test::AsString(test::OggVorbisHeaders("vendor", {"TITLE=" + title}));
}

TEST(TitleOfFileAs, IsUtf8WhicheverTagAndEncodingHoldsIt) {
    const test::TempFolder folder;
    const std::string v1 = folder.WriteFile("v1", test::TaggedMp3({.title = GreetingsLatin1}));
    const std::string v2 =
        folder.WriteFile("v2", Mp3WithId3v2(test::TextFrame("TIT2", GreetingsLatin1)));
    const std::string utf16 = folder.WriteFile(
        "utf16",
        Mp3WithId3v2(test::TextFrame("TIT2", u"Gr\u00FC\u00DFe", test::Id3Encoding::Utf16)));
    for (const std::string& mp3 : {v1, v2, utf16}) {
        EXPECT_EQ(TitleOfFileAs(mp3, media::KindMp3), GreetingsUtf8) << mp3;
    }
    const std::string ogg = folder.WriteFile("ogg", OggTitled(GreetingsUtf8));
    EXPECT_EQ(TitleOfFileAs(ogg, media::KindOggVorbis), GreetingsUtf8);
    // Written by a tagger that ignored the format: shown, and so named, as Latin-1.
    const std::string latin1Ogg = folder.WriteFile("latin1 ogg", OggTitled(GreetingsLatin1));
    EXPECT_EQ(TitleOfFileAs(latin1Ogg, media::KindOggVorbis), GreetingsUtf8);
}

TEST(FileNameFromTitle, NeverLeadsOutOfTheFolderNorEndsInWhatFatDrops) {
    EXPECT_EQ(FileNameFromTitle("../x"), "_x");
    EXPECT_EQ(FileNameFromTitle("a/b"), "a_b");
    for (const char* nothing : {".", "..", " . "}) {
        EXPECT_EQ(FileNameFromTitle(nothing), "") << "'" << nothing << "'";
    }
    EXPECT_EQ(FileNameFromTitle("  .Song. . "), "Song");
    // Cut within 250 bytes at a character's start, and trimmed again.
    EXPECT_EQ(FileNameFromTitle(std::string(248, 'x') + "\xF0\x9F\x8E\xB5"), std::string(248, 'x'));
    EXPECT_EQ(FileNameFromTitle(std::string(249, 'x') + " yyy"), std::string(249, 'x'));
}

TEST(FileNameFromTitle, KeepsWellFormedUtf8AndReplacesEveryOtherByte) {
    EXPECT_EQ(FileNameFromTitle(GreetingsUtf8), GreetingsUtf8);
    EXPECT_EQ(FileNameFromTitle(GreetingsLatin1), "Gr" + Replacement + Replacement + "e");
    // An overlong '/', a surrogate: bad bytes, never a slash or half a character.
    EXPECT_EQ(FileNameFromTitle("\xC0\xAF"), Replacement + Replacement);
    EXPECT_EQ(FileNameFromTitle("\xED\xA0\x80"), Replacement + Replacement + Replacement);
    // C1 control characters, as Latin-1 tags bring them.
    EXPECT_EQ(FileNameFromTitle("a\xC2\x85"s + "b"), "a_b");
}

TEST(RecoveryWithoutJournal, NamesTemporaryFilesInUtf8AndInsideTheFolder) {
    const test::TempFolder outside;
    const std::string folder = outside.MakeFolder("player");
    test::TestJournals journals;
    const std::string f = folder + "/";
    test::WriteWholeFile(f + "0.qz_temp", test::TaggedMp3({.title = GreetingsLatin1}));
    test::WriteWholeFile(f + "1.qz_temp", OggTitled("../x"));
    test::WriteWholeFile(f + "2.qz_temp", test::TaggedMp3({.title = ".."}, 2));
    const std::map<std::string, std::string> before = test::FilesBelow(folder);

    const RecoveryReport report = RecoverFolder(f, SystemFileSystem(), journals.store);
    const std::map<std::string, std::string> expected = {
        {GreetingsUtf8 + ".mp3", before.at("0.qz_temp")},
        {"_x.ogg", before.at("1.qz_temp")},
        {"2.qz_temp", before.at("2.qz_temp")}};
    EXPECT_EQ(test::Differences(expected, test::FilesBelow(folder)), std::vector<std::string>{});
    EXPECT_EQ(test::FilesBelow(outside.path()).size(), 3u);
    ASSERT_EQ(report.notRestored.size(), 1u);
    EXPECT_EQ(report.notRestored[0].name, "2.qz_temp");
    EXPECT_EQ(report.notRestored[0].reason, NotRestored::Reason::NoTitle);
}

} // namespace
} // namespace tralvo
