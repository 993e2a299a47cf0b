#include "tags/writers/ogg_writer.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace tralvo::test {
namespace {

struct SourcePage {
    OggPageFields fields;
    std::span<const std::uint8_t> lacing;
    std::span<const std::uint8_t> body;
};

// The pages of file, end to end from its start; nothing if anything else is found.
std::optional<std::vector<SourcePage>> SplitPages(std::span<const std::uint8_t> file) {
    std::vector<SourcePage> pages;
    std::size_t offset = 0;
    const auto number = [&](std::size_t at, std::size_t size) {
        std::uint64_t value = 0;
        for (std::size_t i = size; i > 0; --i) {
            value = (value << 8) | file[offset + at + i - 1];
        }
        return value;
    };
    while (offset < file.size()) {
        constexpr std::size_t fixedSize = 27;
        if (file.size() - offset < fixedSize || file[offset] != 'O' || file[offset + 1] != 'g' ||
            file[offset + 2] != 'g' || file[offset + 3] != 'S' ||
            file.size() - offset < fixedSize + file[offset + 26]) {
            return std::nullopt;
        }
        SourcePage page;
        page.fields.headerType = file[offset + 5];
        page.fields.granulePosition = number(6, 8);
        page.fields.serial = static_cast<std::uint32_t>(number(14, 4));
        page.fields.sequence = static_cast<std::uint32_t>(number(18, 4));
        page.lacing = file.subspan(offset + fixedSize, file[offset + 26]);
        const std::size_t bodySize =
            std::accumulate(page.lacing.begin(), page.lacing.end(), std::size_t{0});
        const std::size_t bodyOffset = offset + fixedSize + page.lacing.size();
        if (file.size() - bodyOffset < bodySize) {
            return std::nullopt;
        }
        page.body = file.subspan(bodyOffset, bodySize);
        pages.push_back(page);
        offset = bodyOffset + bodySize;
    }
    return pages;
}

bool IsVorbisHeader(const Bytes& packet, std::uint8_t type) {
    const Bytes prefix = [&] {
        Bytes bytes{type};
        Append(bytes, "vorbis");
        return bytes;
    }();
    return packet.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), packet.begin());
}

} // namespace

Bytes WithVorbisComments(std::span<const std::uint8_t> oggFile, std::string_view vendor,
                         const std::vector<std::string>& comments) {
    const auto pages = SplitPages(oggFile);
    if (!pages || pages->empty() ||
        !((*pages)[0].fields.headerType & OggPageFields::FirstOfStream)) {
        return {};
    }
    const std::uint32_t serial = (*pages)[0].fields.serial;

    // The identification, comment and setup packets, and the first page after them.
    std::vector<Bytes> packets(1);
    std::size_t audioStart = 0;
    for (std::size_t i = 0; i < pages->size() && audioStart == 0; ++i) {
        const SourcePage& page = (*pages)[i];
        if (page.fields.serial != serial) {
            return {}; // a second stream among the headers: not what the ffmpeg command writes
        }
        std::size_t bodyOffset = 0;
        for (std::size_t s = 0; s < page.lacing.size(); ++s) {
            const std::uint8_t size = page.lacing[s];
            Append(packets.back(), page.body.subspan(bodyOffset, size));
            bodyOffset += size;
            if (size == 255) {
                continue;
            }
            if (packets.size() == 3) {
                if (s + 1 != page.lacing.size()) {
                    return {}; // audio shares the page with the setup header
                }
                audioStart = i + 1;
                break;
            }
            packets.emplace_back();
        }
    }
    if (audioStart == 0 || !IsVorbisHeader(packets[0], 1) || !IsVorbisHeader(packets[1], 3) ||
        !IsVorbisHeader(packets[2], 5)) {
        return {};
    }
    packets[1] = VorbisCommentPacket(vendor, comments);

    std::vector<Bytes> out = PageOggPackets(packets, serial);
    auto sequence = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = audioStart; i < pages->size(); ++i) {
        SourcePage page = (*pages)[i];
        if (page.fields.serial == serial) {
            page.fields.sequence = sequence++;
        }
        out.push_back(OggPage(page.fields, page.lacing, page.body));
    }
    return Concat(out);
}

} // namespace tralvo::test
