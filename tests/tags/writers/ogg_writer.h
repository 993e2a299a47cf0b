#pragma once

#include "tags/writers/bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo::test {

// CRC-32 as Ogg pages carry it: polynomial 0x04C11DB7, not reflected, initial value 0, no final
// xor, computed over the page with its CRC field zeroed.
std::uint32_t OggCrc32(std::span<const std::uint8_t> bytes);

struct OggPageFields {
    static constexpr std::uint8_t Continued = 0x01;
    static constexpr std::uint8_t FirstOfStream = 0x02;
    static constexpr std::uint8_t LastOfStream = 0x04;
    static constexpr std::uint64_t NoGranule = ~std::uint64_t{0}; // no packet ends on the page

    std::uint8_t headerType = 0;
    std::uint64_t granulePosition = 0;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
};

// One page with its CRC. The body is written as given, whether or not the lacing values add up
// to its size, so that tests can build broken pages.
Bytes OggPage(const OggPageFields& fields, std::span<const std::uint8_t> lacing,
              std::span<const std::uint8_t> body);

// The pages of one logical stream carrying packets: the first packet alone on the first page (as
// an Ogg Vorbis stream needs), the rest back to back, a page closed when it holds segmentsPerPage
// (1 to 255) lacing values and after the last packet. Sequence numbers count from 0; a page on
// which a packet ends has granule position 0 (header packets), any other NoGranule.
std::vector<Bytes> PageOggPackets(const std::vector<Bytes>& packets, std::uint32_t serial,
                                  std::size_t segmentsPerPage = 255);

// A Vorbis identification header: 30 bytes, block sizes 256 and 2048.
Bytes VorbisIdentificationPacket(std::uint8_t channels = 2, std::uint32_t sampleRate = 44100);

// A Vorbis comment header with the vendor and comments exactly as given (any bytes, NUL
// included), with the framing bit.
Bytes VorbisCommentPacket(std::string_view vendor, const std::vector<std::string>& comments);

// The identification and comment headers of one stream as Ogg pages, without setup header or
// audio: enough for a tag reader, not for a decoder.
Bytes OggVorbisHeaders(std::string_view vendor, const std::vector<std::string>& comments,
                       std::uint32_t serial = 1, std::size_t segmentsPerPage = 255);

// oggFile (an Ogg Vorbis file as the ffmpeg command writes it) with its comment header replaced:
// the three header packets are paged anew (255 segments a page), the audio pages follow
// unchanged but for their sequence numbers and CRCs, so the result still decodes. Empty when
// oggFile is not a single Ogg Vorbis stream whose header packets end at a page boundary.
Bytes WithVorbisComments(std::span<const std::uint8_t> oggFile, std::string_view vendor,
                         const std::vector<std::string>& comments);

} // namespace tralvo::test
