#include "tags/writers/ogg_writer.h"

#include <algorithm>
#include <array>

namespace tralvo::test {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < table.size(); ++i) {
        std::uint32_t value = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
        }
        table[i] = value;
    }
    return table;
}

constexpr std::size_t CrcOffset = 22;

} // namespace

std::uint32_t OggCrc32(std::span<const std::uint8_t> bytes) {
    static constexpr auto table = MakeCrcTable();
    std::uint32_t crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFFu];
    }
    return crc;
}

Bytes OggPage(const OggPageFields& fields, std::span<const std::uint8_t> lacing,
              std::span<const std::uint8_t> body) {
    Bytes page{'O', 'g', 'g', 'S', 0}; // capture pattern, version 0
    page.reserve(27 + lacing.size() + body.size());
    page.push_back(fields.headerType);
    AppendLe(page, fields.granulePosition, 8);
    AppendLe(page, fields.serial, 4);
    AppendLe(page, fields.sequence, 4);
    AppendLe(page, 0, 4); // the CRC, filled in below
    page.push_back(static_cast<std::uint8_t>(lacing.size()));
    Append(page, lacing);
    Append(page, body);
    const std::uint32_t crc = OggCrc32(page);
    for (std::size_t i = 0; i < 4; ++i) {
        page[CrcOffset + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    }
    return page;
}

std::vector<Bytes> PageOggPackets(const std::vector<Bytes>& packets, std::uint32_t serial,
                                  std::size_t segmentsPerPage) {
    segmentsPerPage = std::clamp<std::size_t>(segmentsPerPage, 1, 255);
    std::vector<Bytes> pages;
    Bytes lacing;
    Bytes body;
    bool startsContinued = false; // the page being filled begins in the middle of a packet
    bool packetEnded = false;     // some packet ends on the page being filled
    const auto closePage = [&](bool nextContinued) {
        OggPageFields fields;
        fields.headerType =
            static_cast<std::uint8_t>((startsContinued ? OggPageFields::Continued : 0) |
                                      (pages.empty() ? OggPageFields::FirstOfStream : 0));
        fields.granulePosition = packetEnded ? 0 : OggPageFields::NoGranule;
        fields.serial = serial;
        fields.sequence = static_cast<std::uint32_t>(pages.size());
        pages.push_back(OggPage(fields, lacing, body));
        lacing.clear();
        body.clear();
        startsContinued = nextContinued;
        packetEnded = false;
    };
    for (std::size_t p = 0; p < packets.size(); ++p) {
        const Bytes& packet = packets[p];
        std::size_t done = 0;
        while (true) {
            if (lacing.size() == segmentsPerPage) {
                closePage(done > 0);
            }
            const std::size_t size = std::min<std::size_t>(255, packet.size() - done);
            lacing.push_back(static_cast<std::uint8_t>(size));
            Append(body, std::span(packet).subspan(done, size));
            done += size;
            if (size < 255) {
                break; // a segment shorter than 255 bytes, even an empty one, ends the packet
            }
        }
        packetEnded = true;
        if (p == 0 || p + 1 == packets.size()) {
            closePage(false);
        }
    }
    return pages;
}

} // namespace tralvo::test
