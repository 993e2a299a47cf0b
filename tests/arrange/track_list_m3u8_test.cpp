#include "arrange/track_list_m3u8.h"
#include "arrange/track_loading.h"
#include "media/writers/id3v2_writer.h"
#include "support/temp_folder.h"
#include "tags/writers/ogg_writer.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

// Names on disk with their order prefixes, lengths from TLEN, tag text in UTF-8 as the list
// shows it (Latin-1 ID3 text, UTF-8 Vorbis comments), the shown name where no title is.
TEST(TrackListM3u8, WritesLengthsTitlesAndTheNamesOnDisk) {
    test::TempFolder dir;
    dir.WriteFile("{1}both.mp3", test::AsString(test::Mp3File(test::Id3v2TagWriter(3)
                                                                  .Text("TIT2", "Caf\xE9")
                                                                  .Text("TPE1", "Art")
                                                                  .Text("TLEN", "215600")
                                                                  .Build())));
    dir.WriteFile("{2}title.mp3", test::AsString(test::Mp3File(
                                      {}, 1, test::Id3v1Fields{.title = "Only", .artist = ""})));
    dir.WriteFile("{3}vorbis.ogg",
                  test::AsString(test::OggVorbisHeaders(
                      "v", {"TITLE=R\xC3\xAAve", "ARTIST=Gr\xC3\xBCn", "LENGTH=12"})));
    dir.WriteFile("{4}R\xC3\xA9veil.wav", "RIFF");
    dir.WriteFile("{5}artist only.mp3",
                  test::AsString(test::Mp3File({}, 1, test::Id3v1Fields{.artist = "Nobody"})));

    const TrackList tracks =
        LoadTracks(dir.path(), {PlayerType::FileNames, false}, SystemFileSystem());
    std::vector<std::string> unwritable;
    EXPECT_EQ(TrackListM3u8(tracks, unwritable),
              "#EXTM3U\n"
              "#EXTINF:216,Art - Caf\xC3\xA9\n{1}both.mp3\n"
              "#EXTINF:-1,Only\n{2}title.mp3\n"
              "#EXTINF:-1,Gr\xC3\xBCn - R\xC3\xAAve\n{3}vorbis.ogg\n"
              "#EXTINF:-1,R\xC3\xA9veil.wav\n{4}R\xC3\xA9veil.wav\n"
              "#EXTINF:-1,artist only.mp3\n{5}artist only.mp3\n");
    EXPECT_TRUE(unwritable.empty());
}

} // namespace
} // namespace tralvo
