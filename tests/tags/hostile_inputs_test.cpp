// Broken and hostile files, each named after the fault it provokes: the readers give nothing or
// a sane result, never a crash, and never allocate what a field claims.
#include "support/allocation_watch.h"
#include "tag_test_support.h"
#include "tags/writers/asf_writer.h"
#include "tags/writers/ogg_writer.h"

#include <functional>
#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

struct HostileFile {
    std::string fault;
    std::function<Bytes()> make;
    std::function<std::optional<Strings>(const Bytes&)> read;
    std::optional<Strings> expected;
};

void PrintTo(const HostileFile& file, std::ostream* out) {
    *out << file.fault;
}

Bytes SetLe(Bytes bytes, std::size_t at, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
}

// Ogg: an identification page, then the comment header on pages of few segments.
std::vector<Bytes> CommentPages(const Bytes& commentPacket, std::size_t segmentsPerPage = 255) {
    return PageOggPackets({VorbisIdentificationPacket(), commentPacket}, 1, segmentsPerPage);
}

Bytes CommentPacketWithField(std::size_t at, std::uint32_t value) {
    return SetLe(VorbisCommentPacket("vendor", {"TITLE=x"}), at, value, 4);
}

// ASF: a header whose objects after the preamble are given.
Bytes HeaderWith(const std::vector<Bytes>& children) {
    return AsfHeaderObject(children);
}

Bytes TitleObject() {
    return AsfContentDescriptionObject({u"T", u"", u"", u"", u""});
}

Bytes YearObject(std::optional<std::uint16_t> count = {}) {
    return AsfExtendedContentDescriptionObject({AsfAttribute::Text(u"WM/Year", u"1999")}, count);
}

const auto ogg = [](const Bytes& file) { return VorbisCommentsOf(file); };
const auto asf = [](const Bytes& file) { return AsfAttributesOf(file); };

std::vector<HostileFile> HostileFiles() {
    const Strings title = {"TITLE=x"};
    return {
        {"truncated_page",
         [] {
             Bytes file = OggVorbisHeaders("v", {"TITLE=" + std::string(3000, 'x')});
             file.resize(file.size() - 1000);
             return file;
         },
         ogg, std::nullopt},
        {"truncated_setup_header_after_whole_comments",
         [] {
             Bytes file =
                 Concat(PageOggPackets({VorbisIdentificationPacket(),
                                        VorbisCommentPacket("v", {"TITLE=x"}), Bytes(4000, 5)},
                                       1));
             file.resize(file.size() - 2000);
             return file;
         },
         ogg, title},
        {"page_missing",
         [] {
             auto pages =
                 CommentPages(VorbisCommentPacket("v", {"T=" + std::string(2000, 't')}), 3);
             pages.erase(pages.begin() + 2);
             return Concat(pages);
         },
         ogg, std::nullopt},
        {"first_page_continues_a_packet",
         [] {
             const Bytes id = VorbisIdentificationPacket();
             Bytes file =
                 OggPage({OggPageFields::FirstOfStream | OggPageFields::Continued, 0, 1, 0},
                         Bytes{static_cast<std::uint8_t>(id.size())}, id);
             Append(file, CommentPages(VorbisCommentPacket("v", {}))[1]);
             return file;
         },
         ogg, std::nullopt},
        {"lacing_past_end",
         [] {
             Bytes file = CommentPages(VorbisIdentificationPacket())[0];
             Append(file, OggPage({0, 0, 1, 1}, Bytes(255, 255), BytesOf("\x03vorbis")));
             return file;
         },
         ogg, std::nullopt},
        {"junk_full_of_capture_patterns",
         [] {
             Bytes file;
             for (int i = 0; i < 200000; ++i) {
                 Append(file, "OggS");
             }
             Append(file, OggVorbisHeaders("v", {"TITLE=x"}));
             return file;
         },
         ogg, title},
        {"capture_pattern_only", [] { return BytesOf("OggS"); }, ogg, std::nullopt},
        {"huge_vendor_length", [] { return Concat(CommentPages(CommentPacketWithField(7, ~0u))); },
         ogg, std::nullopt},
        {"huge_comment_count",
         [] { return Concat(CommentPages(CommentPacketWithField(7 + 4 + 6, ~0u))); }, ogg,
         std::nullopt},
        {"comment_length_past_packet",
         [] { return Concat(CommentPages(CommentPacketWithField(7 + 4 + 6 + 4, 0x7FFFFFFF))); },
         ogg, std::nullopt},
        {"comment_packet_cut_before_count",
         [] {
             Bytes packet = VorbisCommentPacket("vendor", {});
             packet.resize(7 + 4 + 6 + 2);
             return Concat(CommentPages(packet));
         },
         ogg, std::nullopt},

        {"header_size_past_end",
         [] {
             return SetLe(HeaderWith({TitleObject(), YearObject()}), 16, 1u << 30, 8);
         },
         asf, Strings{"Title : T", "WM/Year : 1999"}},
        {"header_size_2_to_the_63",
         [] { return SetLe(HeaderWith({TitleObject()}), 16, 1ull << 63, 8); }, asf,
         Strings{"Title : T"}},
        {"header_size_below_preamble", [] { return SetLe(HeaderWith({TitleObject()}), 16, 29, 8); },
         asf, std::nullopt},
        {"header_cut_in_preamble",
         [] { return Bytes(asf_guid::Header.begin(), asf_guid::Header.end()); }, asf, std::nullopt},
        {"object_size_past_header_end",
         [] {
             return HeaderWith({TitleObject(), AsfObjectBytes(asf_guid::ExtendedContentDescription,
                                                              YearObject(), 1ull << 40)});
         },
         asf, Strings{"Title : T"}},
        {"zero_object_size",
         [] {
             return HeaderWith(
                 {AsfObjectBytes(asf_guid::ContentDescription, Bytes(10, 0), 0), TitleObject()});
         },
         asf, Strings{}},
        {"huge_object_count",
         [] { return AsfHeaderObject(std::vector<Bytes>{TitleObject()}, ~0u); }, asf,
         Strings{"Title : T"}},
        {"huge_attribute_count",
         [] {
             return HeaderWith({YearObject(0xFFFF), TitleObject()});
         },
         asf, Strings{"WM/Year : 1999", "Title : T"}},
        {"content_description_lengths_past_object",
         [] {
             return HeaderWith({SetLe(TitleObject(), 24 + 2, 0xFFFF, 2), YearObject()});
         },
         asf, Strings{"Title : T", "WM/Year : 1999"}},
        {"extension_data_size_past_object",
         [] {
             const Bytes metadata = AsfMetadataObject({AsfAttribute::Text(u"M", u"m")});
             Bytes extension = AsfHeaderExtensionObject(std::span(&metadata, 1));
             return HeaderWith({SetLe(extension, 24 + 18, ~0u, 4), TitleObject()});
         },
         asf, Strings{"M : m", "Title : T"}},
        {"metadata_value_length_past_object",
         [] {
             const Bytes metadata =
                 SetLe(AsfMetadataObject({AsfAttribute::Text(u"M", u"m")}), 24 + 2 + 8, ~0u, 4);
             return HeaderWith({AsfHeaderExtensionObject(std::span(&metadata, 1)), TitleObject()});
         },
         asf, Strings{"Title : T"}},
    };
}

class HostileInput : public testing::TestWithParam<HostileFile> {};

TEST_P(HostileInput, GivesNothingOrWhatFitsWithoutLargeAllocations) {
    const Bytes file = GetParam().make();
    std::optional<Strings> result;
    std::size_t largest = 0;
    {
        const AllocationWatch watch;
        result = GetParam().read(file);
        largest = watch.Largest();
    }
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_LE(largest, std::max<std::size_t>(file.size(), 65536));
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileInput, testing::ValuesIn(HostileFiles()),
                         [](const testing::TestParamInfo<HostileFile>& file) {
                             return file.param.fault;
                         });

TEST(HostileInputs, RejectsACommentPacketLargerThan16MebibytesButReadsOneJustBelow) {
    const std::string big = "METADATA_BLOCK_PICTURE=" + std::string(16u << 20, 'p');
    EXPECT_EQ(VorbisCommentsOf(OggVorbisHeaders("v", {big})), std::nullopt);
    const Strings fits = {big.substr(0, (16u << 20) - 100)};
    EXPECT_EQ(VorbisCommentsOf(OggVorbisHeaders("v", fits)), fits);
}

} // namespace
} // namespace tralvo::test
