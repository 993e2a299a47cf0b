// Broken and hostile files, each named after the fault it provokes: the load gives its result
// and keeps what it read, the getters answer for every frame kept, and nothing allocates what
// a size field claims.
#include "id3v2_test_support.h"
#include "support/allocation_watch.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace std::string_view_literals;

using namespace tags::id3v2_result;

struct HostileFile {
    std::string fault;
    Bytes bytes;
    std::uint16_t expected;
};

void PrintTo(const HostileFile& file, std::ostream* out) {
    *out << file.fault;
}

Id3v2Frame Sized(Id3v2Frame frame, std::uint32_t size) {
    frame.size = size;
    return frame;
}

Bytes V4WithExtendedHeader(Bytes raw) {
    return Id3v2TagWriter(4)
        .ExtendedHeader(Id3v2ExtendedHeaderV4{.raw = std::move(raw)})
        .Text("TIT2", "Song")
        .Build();
}

std::vector<HostileFile> HostileFiles() {
    const Bytes goodTag = Id3v2TagWriter(3).Text("TIT2", "Song").Comment("eng", "", "c").Build();
    Id3v2Frame lengthOnly = TextFrame("TIT2", "");
    lengthOnly.formatFlags = 0x01; // a data length indicator in a frame of two bytes
    lengthOnly.payload = Bytes{0, 'a'};
    return {
        {"truncated_frame", Bytes(goodTag.begin(), goodTag.end() - 3), TagPastEndOfFile},
        {"tag_size_past_end", Id3v2TagWriter(4).TagSize(0x0FFFFFFF).Text("TIT2", "a").Build(),
         TagPastEndOfFile},
        {"size_past_end",
         Mp3File(Id3v2TagWriter(3)
                     .Text("TIT2", "a")
                     .Add(Sized(TextFrame("TPE1", "b"), 0x7FFFFFFF))
                     .Build()),
         Corrupt},
        {"size_past_end_by_one",
         Mp3File(Id3v2TagWriter(4).Add(Sized(TextFrame("TPE1", "b"), 3)).Build()), Corrupt},
        {"frame_header_without_room",
         Mp3File(Id3v2TagWriter(4).Text("TIT2", "a").Raw(BytesOf("TALB\0\0\0\0\0\0"sv)).Build()),
         Corrupt},
        {"frame_header_cut_short",
         Mp3File(Id3v2TagWriter(3).Text("TIT2", "a").Raw(BytesOf("TAL")).Build()), Corrupt},
        {"bad_frame_id", Mp3File(Id3v2TagWriter(3).Text("TIT2", "a").Text("T\xC9T2", "b").Build()),
         BadFrameId},
        {"extra_bytes_past_frame", Mp3File(Id3v2TagWriter(4).Add(lengthOnly).Padding(4).Build()),
         Corrupt},
        {"extended_header_too_small", V4WithExtendedHeader({0, 0, 0, 5, 1}), Corrupt},
        {"extended_header_past_end", V4WithExtendedHeader({0, 0, 0x7F, 0x7F, 1, 0}), Corrupt},
        {"extended_header_without_flag_bytes", V4WithExtendedHeader({0, 0, 0, 6, 0, 0}), Corrupt},
        {"crc_item_too_short", V4WithExtendedHeader({0, 0, 0, 11, 1, 0x20, 4, 1, 2, 3, 4}),
         Corrupt},
        {"restrictions_item_past_end", V4WithExtendedHeader({0, 0, 0, 6, 1, 0x10}), Corrupt},
        {"v3_crc_cut_short",
         Mp3File(Id3v2TagWriter(3)
                     .ExtendedHeader(Id3v2ExtendedHeaderV3{
                         .raw = Bytes{0, 0, 0, 10, 0x80, 0, 0, 0, 0, 0, 0xAB, 0xCD}})
                     .Build()),
         Corrupt},
    };
}

class Id3v2HostileFile : public ::testing::TestWithParam<HostileFile> {};

TEST_P(Id3v2HostileFile, GivesItsResultWithinBounds) {
    const AllocationWatch watch;
    LoadedTag loaded = LoadBytes(GetParam().bytes);
    EXPECT_EQ(loaded.result, GetParam().expected);
    for (std::size_t i = 1; i <= loaded.tag.Frames().Count(); ++i) {
        TextOf(loaded.tag, loaded.tag.Frames()[i].id);
    }
    tags::TagComment comment;
    loaded.tag.GetComment(comment, "", "None");
    EXPECT_LT(watch.Largest(), std::size_t{1} << 20);
}

INSTANTIATE_TEST_SUITE_P(Faults, Id3v2HostileFile, ::testing::ValuesIn(HostileFiles()),
                         [](const auto& file) { return file.param.fault; });

} // namespace
} // namespace tralvo::test
