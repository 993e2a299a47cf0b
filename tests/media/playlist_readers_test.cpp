#include "media/playlists/m3u8_writer.h"
#include "media/playlists/m3u_reader.h"
#include "media/playlists/playlist_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace tralvo::media::playlists {
namespace {

using Paths = std::vector<std::string>;

PlaylistRead Read(std::string_view name, std::string_view text) {
    return ReadPlaylistText(name, text);
}

Paths Entries(std::string_view name, std::string_view text) {
    const PlaylistRead read = Read(name, text);
    EXPECT_EQ(read.problem, "") << name;
    return read.paths;
}

TEST(M3uReader, SkipsDirectivesAndReadsCrLfBomAndWindowsPaths) {
    EXPECT_EQ(Entries("a.m3u8", "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:12,Artist - Song\r\n"
                                "  01 Song.mp3  \r\n\r\n# a remark\r\n"
                                "C:\\Music\\b.mp3\r\n..\\up\\c.ogg\r/abs/d.wav"),
              (Paths{"01 Song.mp3", "C:/Music/b.mp3", "../up/c.ogg", "/abs/d.wav"}));
}

TEST(M3uReader, AnM3uIsUtf8WhenItsBytesAreElseLatin1) {
    EXPECT_EQ(Entries("x.M3U", "t\xC3\xA9st.mp3\n"), Paths{"t\xC3\xA9st.mp3"});
    EXPECT_EQ(Entries("x.m3u", "t\xE9st.mp3\n\xC4.mp3\n"),
              (Paths{"t\xC3\xA9st.mp3", "\xC3\x84.mp3"}));
    // An M3U8 is UTF-8 by its name: bytes stand as they are, naming the file of those bytes.
    EXPECT_EQ(Entries("x.m3u8", "t\xE9st.mp3\n"), Paths{"t\xE9st.mp3"});
}

TEST(M3uReader, FileUrisBecomePathsAndStreamsStayAsWritten) {
    EXPECT_EQ(
        Entries("x.m3u", "file:///home/u/a%20b.mp3\nfile://localhost/m/c.mp3\n"
                         "file:///C:/Music/d.mp3\nhttp://radio.example/stream\n"),
        (Paths{"/home/u/a b.mp3", "/m/c.mp3", "C:/Music/d.mp3", "http://radio.example/stream"}));
    // Outside a URI a '%' is part of the name.
    EXPECT_EQ(Entries("x.m3u", "100%25.mp3\n"), Paths{"100%25.mp3"});
    // Neither an empty path nor a NUL can name a file (found by fuzzing).
    EXPECT_EQ(Entries("x.m3u", "file://\nfile:///a%00b%41.mp3\n"), Paths{"/a%00bA.mp3"});
}

TEST(PlsReader, TakesFileKeysInNumberOrderInAnyCase) {
    EXPECT_EQ(Entries("list.PLS", "[Playlist]\r\nNumberOfEntries=3\r\nfile10=j.mp3\r\n"
                                  "FILE2=b.mp3\r\nTitle2=B\r\nFile1 = C:\\a.mp3\r\n"
                                  "File2=again.mp3\r\n[other]\r\nFile3=no.mp3\r\nVersion=2\r\n"),
              (Paths{"C:/a.mp3", "b.mp3", "j.mp3"}));
}

TEST(XspfReader, ReadsEachTracksFirstLocationInDocumentOrder) {
    const std::string xspf =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE playlist [<!ELEMENT playlist ANY>]>\n"
        "<x:playlist version='1' xmlns:x=\"http://xspf.org/ns/0/\">\n"
        " <x:title>Mine &amp; yours</x:title><!-- <track><location>no</location></track> -->\n"
        " <x:trackList>\n"
        "  <x:track><x:title>t</x:title>\n"
        "   <x:location>\n   file:///music/R%C3%A9ve%20%26%20co.mp3\n  </x:location>\n"
        "   <x:location>second.mp3</x:location></x:track>\n"
        "  <x:track><x:location>../sub/Tom &amp; Jerry &#233;&#x263A;.ogg</x:location></x:track>\n"
        "  <x:track><x:location><![CDATA[a<b>&c.mp3]]></x:location></x:track>\n"
        "  <x:track><x:annotation>no location</x:annotation></x:track>\n"
        "  <x:track/>\n"
        " </x:trackList>\n"
        "</x:playlist>\n";
    EXPECT_EQ(Entries("p.xspf", xspf),
              (Paths{"/music/R\xC3\xA9ve & co.mp3", "../sub/Tom & Jerry \xC3\xA9\xE2\x98\xBA.ogg",
                     "a<b>&c.mp3"}));
}

TEST(PlaylistKind, TheExtensionTellsAndElseTheContent) {
    EXPECT_EQ(KindOfPlaylist("a.XSPF", "[playlist]"), PlaylistKind::Xspf);
    EXPECT_EQ(KindOfPlaylist("a.m3u8", ""), PlaylistKind::M3u8);
    EXPECT_EQ(KindOfPlaylist("a.txt", "\xEF\xBB\xBF\n [PLAYLIST]\nFile1=a"), PlaylistKind::Pls);
    EXPECT_EQ(KindOfPlaylist("a", "  <?xml version='1.0'?><playlist/>"), PlaylistKind::Xspf);
    EXPECT_EQ(KindOfPlaylist("a.list", "#EXTM3U\na.mp3"), PlaylistKind::M3u);
    EXPECT_EQ(Entries("noext", "<playlist><trackList><track><location>a.mp3</location></track>"
                               "</trackList></playlist>"),
              Paths{"a.mp3"});
}

// Each of these must give a problem that says what is wrong, never entries, a crash or a hang.
TEST(PlaylistReaders, BadInputGivesAClearProblem) {
    const std::string longLine(70 * 1024, 'a');
    std::string deep;
    for (int i = 0; i < 300; ++i) {
        deep += "<a>";
    }
    for (const auto& [name, text, says] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"empty.m3u", "", "empty"},
             {"blank.pls", " \r\n\r\n", "empty"},
             {"comments.m3u8", "#EXTM3U\n#EXTINF:1,x\n", "names no track"},
             {"nofiles.pls", "[playlist]\nNumberOfEntries=0\n", "names no track"},
             {"binary.m3u", std::string("ID3\x03\0\0\0\0", 9), "binary"},
             {"utf16.m3u",
              std::string("\xFF\xFE"
                          "a\0.\0",
                          6),
              "UTF-16"},
             {"long.m3u", "a.mp3\n" + longLine + "\n", "line 2 is longer"},
             {"open.xspf", "<playlist><trackList><track><location>a.mp3</location>", "ends inside"},
             {"crossed.xspf", "<playlist><track><location>a</track></location></playlist>",
              "closes no open element"},
             {"entity.xspf", "<playlist><track><location>&nbsp;a</location></track></playlist>",
              "unknown entity"},
             {"amp.xspf", "<playlist><track><location>a & b</location></track></playlist>", "'&'"},
             {"comment.xspf", "<playlist><!-- never closed </playlist>", "unclosed comment"},
             {"two.xspf", "<a/><b/>", "second element"},
             {"text.xspf", "hello <playlist/>", "text outside"},
             {"attr.xspf", "<playlist version=1/>", "without quotes"},
             {"deep.xspf", deep, "nested deeper"},
             {"none.xspf", "<?xml version='1.0'?>", "no XML element"}}) {
        const PlaylistRead read = Read(name, text);
        EXPECT_TRUE(read.paths.empty()) << name;
        EXPECT_EQ(read.fault, says == "empty" || says == "names no track"
                                  ? PlaylistRead::Fault::NoTracks
                                  : PlaylistRead::Fault::Malformed)
            << name;
        EXPECT_NE(read.problem.find(says), std::string::npos) << name << ": " << read.problem;
    }
    // Where the XML breaks is said by line.
    EXPECT_NE(Read("x.xspf", "<playlist>\n<track>\n</trak>").problem.find("line 3"),
              std::string::npos);
}

TEST(PlaylistReaders, AFileIsReadWithinItsSizeLimit) {
    test::TempFolder dir;
    EXPECT_EQ(ReadPlaylist(dir.WriteFile("a.m3u", "x.mp3\n"), SystemFileSystem()).paths,
              Paths{"x.mp3"});
    EXPECT_NE(ReadPlaylist(dir / "missing.m3u", SystemFileSystem()).problem.find("cannot read"),
              std::string::npos);
    EXPECT_EQ(ReadPlaylist(dir / "missing.m3u", SystemFileSystem()).fault,
              PlaylistRead::Fault::Unreadable);
    EXPECT_NE(
        ReadPlaylist(dir.MakeFolder("folder.m3u"), SystemFileSystem()).problem.find("cannot read"),
        std::string::npos);
    const std::string big = dir.WriteFile("big.m3u", "");
    ASSERT_EQ(::truncate(big.c_str(), MaxPlaylistSize + 1), 0);
    EXPECT_NE(ReadPlaylist(big, SystemFileSystem()).problem.find("16 MiB"), std::string::npos);
}

// The largest playlist allowed, of one kind of worst case each, reads in well under a second.
// Inputs at the size limit that would take a reader with a quadratic step hours; ctest's time
// limit, not a clock here, catches that, so a slow sanitized build does not fail it.
TEST(PlaylistReaders, InputsAtTheSizeLimitAreReadThrough) {
    std::string deep;
    while (deep.size() < MaxPlaylistSize - 64) {
        deep += "<a></a>";
    }
    EXPECT_NE(Read("x.xspf", "<p>" + deep).problem, "");
    std::string comments;
    while (comments.size() < MaxPlaylistSize) {
        comments += "#\r\n";
    }
    EXPECT_NE(Read("x.m3u", comments).problem, "");
    EXPECT_NE(Read("x.xspf", "<p>" + std::string(MaxPlaylistSize, '&')).problem, "");
}

TEST(M3u8Writer, WritesDirectivesAndPathsThatReadBack) {
    std::vector<std::string> unwritable;
    const std::string text = WriteM3u8({{215, "Artist - Title", "{01}a.mp3"},
                                        {-1, "Two\nlines", "#1 hit.ogg"},
                                        {-7, "Broken", "line\nbreak.mp3"},
                                        {3, "Sp", " lead.mp3"}},
                                       unwritable);
    EXPECT_EQ(text, "#EXTM3U\n#EXTINF:215,Artist - Title\n{01}a.mp3\n"
                    "#EXTINF:-1,Two lines\n./#1 hit.ogg\n#EXTINF:3,Sp\n./ lead.mp3\n");
    EXPECT_EQ(unwritable, Paths{"line\nbreak.mp3"});
    EXPECT_EQ(ReadM3u(text, true), (Paths{"{01}a.mp3", "./#1 hit.ogg", "./ lead.mp3"}));
}

} // namespace
} // namespace tralvo::media::playlists
