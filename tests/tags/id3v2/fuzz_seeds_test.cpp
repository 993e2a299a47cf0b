// Writes the seed files of the id3v2_fuzz target with our writer. Disabled; run it after
// changing the writer:
//   id3v2_tests --gtest_also_run_disabled_tests --gtest_filter='*WriteFuzzSeeds*'
#include "media/writers/id3v2_writer.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace std::string_view_literals;

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    WriteWholeFile((folder / name).string(), bytes);
}

TEST(FuzzSeeds, DISABLED_WriteFuzzSeeds) {
    const auto folder =
        std::filesystem::path(__FILE__).parent_path() / "../../../fuzz/tags/seeds/id3v2_fuzz";
    std::filesystem::create_directories(folder);

    WriteSeed(folder, "v3_text_and_comments.mp3",
              Mp3File(Id3v2TagWriter(3)
                          .Text("TIT2", "Title")
                          .Text("tpe1", "Artist")
                          .Comment("eng", "", "Line\r\nTwo")
                          .Add(CommentFrame("deu", u"d", u"\u00E9t\u00E9", Id3Encoding::Utf16))
                          .Padding(16)
                          .Build(),
                      1, Id3v1Fields{.title = "v1", .track = 3}));

    Id3v2Frame compressed = TextFrame("TALB", "Album album album album");
    compressed.compressed = true;
    Id3v2Frame encrypted = TextFrame("TYER", "1999");
    encrypted.encrypted = true;
    encrypted.groupId = 1;
    WriteSeed(folder, "v3_unsynchronised_extended.mp3",
              Id3v2TagWriter(3)
                  .Unsynchronise()
                  .ExtendedHeader(Id3v2ExtendedHeaderV3{.crc = 0xFFE0FF00, .paddingSize = 12})
                  .Add(compressed)
                  .Add(encrypted)
                  .Add(TextFrame("TIT2", u"\u00FF\u00E0", Id3Encoding::Utf16, true))
                  .Padding(12)
                  .Build());

    Id3v2Frame packed = CommentFrame("eng", "", "Packed \xFF\xE0 comment");
    packed.compressed = true;
    packed.unsynchronised = true;
    packed.groupId = 9;
    WriteSeed(folder, "v4_features.mp3",
              Id3v2TagWriter(4)
                  .Footer()
                  .ExtendedHeader(
                      Id3v2ExtendedHeaderV4{.update = true, .crc = 0x123456789, .restrictions = 3})
                  .Add(packed)
                  .Add(TextFrame("TPE1", u"One\0Two", Id3Encoding::Utf16Be))
                  .Add(TextFrame("TIT2", u"Caf\u00E9", Id3Encoding::Utf8))
                  .Mp3ePadding(8)
                  .Build());

    WriteSeed(folder, "v4_unsynchronised.mp3",
              Id3v2TagWriter(4)
                  .Unsynchronise()
                  .Add(RawFrame("TIT2", Bytes{0, 'a', 0xFF, 0x00, 0xFF, 0xE0}))
                  .Add(RawFrame("COMM", BytesOf("\0engdesc"sv)))
                  .Build());
}

} // namespace
} // namespace tralvo::test
