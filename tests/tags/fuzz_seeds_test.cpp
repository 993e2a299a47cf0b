// Writes the seed files of the vorbis_comments_fuzz and asf_attributes_fuzz targets with our
// writers. Disabled; run it after changing the writers:
//   tags_tests --gtest_also_run_disabled_tests --gtest_filter='*WriteFuzzSeeds*'
#include "support/temp_folder.h"
#include "tags/writers/asf_writer.h"
#include "tags/writers/ogg_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    WriteWholeFile((folder / name).string(), bytes);
}

TEST(FuzzSeeds, DISABLED_WriteFuzzSeeds) {
    const auto seeds = std::filesystem::path(__FILE__).parent_path() / "../../fuzz/tags/seeds";
    const auto folder = seeds / "vorbis_comments_fuzz";
    const auto asfFolder = seeds / "asf_attributes_fuzz";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    ASSERT_TRUE(std::filesystem::is_directory(asfFolder)) << asfFolder;

    WriteSeed(folder, "ogg_headers.ogg",
              OggVorbisHeaders("vendor", {"TITLE=t", "artist=a", "ARTIST=b"}));
    WriteSeed(folder, "ogg_spanning_pages.ogg",
              OggVorbisHeaders("v", {"COMMENT=" + std::string(520, 'c'), "DATE=2001"}, 1, 2));
    const auto first =
        PageOggPackets({VorbisIdentificationPacket(), VorbisCommentPacket("v", {"A=1"})}, 7);
    const auto second =
        PageOggPackets({VorbisIdentificationPacket(), VorbisCommentPacket("v", {"B=2"})}, 8);
    WriteSeed(folder, "ogg_two_streams.ogg",
              Concat(std::vector<Bytes>{first[0], second[0], second[1], first[1]}));

    AsfTags tags;
    tags.content = AsfContentDescription{u"Title", u"Author", u"", u"Descr\u00E9", u"R"};
    tags.extended = {AsfAttribute::Text(u"WM/AlbumTitle", u"Album \u20AC"),
                     AsfAttribute::ByteArray(u"WM/MCDI", Bytes(8, 1)),
                     AsfAttribute::Bool(u"IsVBR", true),
                     AsfAttribute::Dword(u"WM/TrackNumber", 3),
                     AsfAttribute::Qword(u"Q", 1),
                     AsfAttribute::Word(u"W", 2)};
    tags.metadata = {AsfAttribute::Text(u"WM/Year", u"1999"), AsfAttribute::Bool(u"B", false)};
    WriteSeed(asfFolder, "asf_tags.wma", AsfTagHeader(tags));

    WriteSeed(folder, "riff_wave.wav",
              BytesOf(std::string_view("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0", 20)));
    WriteSeed(folder, "id3_and_frame.mp3",
              Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0, 0xFF, 0xFB, 0x90, 0x64});
}

} // namespace
} // namespace tralvo::test
