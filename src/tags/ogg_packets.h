#pragma once

#include "tags/byte_source.h"
#include "tags/ogg_page.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tralvo::tags {

struct OggReadLimits {
    // A packet must begin on a page that starts within this many bytes and pages of the source
    // (pages of other streams and junk included): the headers of a stream come first.
    std::uint64_t packetStartBytes = 1u << 20;
    std::size_t packetStartPages = 64;
    // A comment packet with cover art can be megabytes; one larger than this counts as broken.
    std::size_t maxPacketSize = 16u << 20;
    // No page that starts further into the source is read.
    std::uint64_t scanBytes = 48u << 20;
};

// Reads the packets of the first logical stream of an Ogg source (the stream of the first page
// that begins a stream), page by page, skipping the pages of other streams.
class OggPacketReader {
public:
    explicit OggPacketReader(ByteSource& source, OggReadLimits limits = {})
        : source_(source), limits_(limits) {}

    // The next packet. Nothing at the end of the data, where the pages break off in the middle of
    // a packet, or past a limit; after that, always nothing.
    std::optional<std::vector<std::uint8_t>> NextPacket();

private:
    bool LoadPage(bool packetInProgress);
    bool FindCapturePattern(std::uint64_t from, std::uint64_t limit);

    ByteSource& source_;
    OggReadLimits limits_;
    std::uint64_t nextPageOffset_ = 0;
    std::uint64_t pageOffset_ = 0;
    std::size_t pagesRead_ = 0;
    std::optional<std::uint32_t> serial_;
    OggPageHeader page_;
    std::vector<std::uint8_t> body_;
    std::size_t segment_ = 0;
    std::size_t bodyPosition_ = 0;
    bool dataEndsInPage_ = false;
    bool failed_ = false;
};

} // namespace tralvo::tags
