#include "tags/container_kind.h"
#include "tags/writers/asf_writer.h"
#include "tags/writers/ogg_writer.h"

#include <gtest/gtest.h>

namespace tralvo::test {
namespace {

using namespace std::string_view_literals;
using tags::ContainerKind;

std::optional<ContainerKind> Sniff(const Bytes& bytes) {
    return tags::SniffContainer(bytes);
}

TEST(SniffContainer, TellsEachKindFromItsFirstBytes) {
    EXPECT_EQ(Sniff(OggVorbisHeaders("v", {})), ContainerKind::OggVorbis);
    EXPECT_EQ(Sniff(AsfTagHeader({})), ContainerKind::Asf);
    EXPECT_EQ(Sniff(BytesOf("RIFF\x24\x08\0\0WAVEfmt "sv)), ContainerKind::Wave);
    EXPECT_EQ(Sniff(BytesOf("ID3\x03\0\0\0\0\0\0"sv)), ContainerKind::Mpeg);
    EXPECT_EQ(Sniff(BytesOf("ID3\x04"sv)), ContainerKind::Mpeg);
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xFB, 0x90, 0x64}), ContainerKind::Mpeg); // MPEG-1 layer III
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xF3, 0x48, 0xC4}), ContainerKind::Mpeg); // MPEG-2 layer III
}

TEST(SniffContainer, RejectsLookAlikesJunkAndEmptyInput) {
    EXPECT_EQ(Sniff({}), std::nullopt);
    EXPECT_EQ(Sniff(BytesOf("OggS"sv)), std::nullopt);
    // An Ogg page whose first packet is not Vorbis (Opus, for one).
    EXPECT_EQ(Sniff(Concat(PageOggPackets({BytesOf("OpusHead........"sv)}, 1))), std::nullopt);
    EXPECT_EQ(Sniff(BytesOf("RIFF\0\0\0\0AVI LIST"sv)), std::nullopt);
    EXPECT_EQ(Sniff(BytesOf("ID3\x05\0"sv)), std::nullopt);
    EXPECT_EQ(Sniff(BytesOf("ID3"sv)), std::nullopt);
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xFB, 0xF0, 0x64}), std::nullopt); // bitrate index 15
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xFB, 0x9C, 0x64}), std::nullopt); // sample-rate index 3
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xF9, 0x90, 0x64}), std::nullopt); // layer 0 (AAC ADTS)
    EXPECT_EQ(Sniff(Bytes{0xFF, 0xEB, 0x90, 0x64}), std::nullopt); // version 1 is reserved
    EXPECT_EQ(Sniff(BytesOf("fLaC\0\0\0\x22"sv)), std::nullopt);
}

} // namespace
} // namespace tralvo::test
