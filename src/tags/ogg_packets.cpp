#include "tags/ogg_packets.h"

#include <algorithm>
#include <array>

namespace tralvo::tags {

std::optional<std::vector<std::uint8_t>> OggPacketReader::NextPacket() {
    std::vector<std::uint8_t> packet;
    bool inProgress = false;
    bool started = false;
    while (!failed_) {
        if (segment_ == page_.segmentCount) {
            failed_ = !LoadPage(inProgress);
            continue;
        }
        if (!started) {
            // Headers come first: a packet that begins this far in is none of them.
            started = true;
            failed_ = pageOffset_ >= limits_.packetStartBytes;
            continue;
        }
        const std::uint8_t size = page_.lacing[segment_++];
        if (size > limits_.maxPacketSize - packet.size()) {
            failed_ = true;
            continue;
        }
        const auto data = body_.begin() + static_cast<std::ptrdiff_t>(bodyPosition_);
        packet.insert(packet.end(), data, data + size);
        bodyPosition_ += size;
        if (size < 255) {
            return packet;
        }
        inProgress = true;
    }
    return std::nullopt;
}

bool OggPacketReader::LoadPage(bool packetInProgress) {
    if (dataEndsInPage_) {
        return false;
    }
    const std::uint64_t byteLimit = packetInProgress
                                        ? limits_.scanBytes
                                        : std::min(limits_.scanBytes, limits_.packetStartBytes);
    while (true) {
        const std::uint64_t offset = nextPageOffset_;
        if (offset >= byteLimit || (!packetInProgress && pagesRead_ >= limits_.packetStartPages)) {
            return false;
        }
        auto header = ReadOggPageHeader(source_, offset);
        if (!header) {
            // Junk where a page should begin, as when a tagger has put an ID3v2 tag before the
            // first page: the next page is looked for, unless the junk splits a packet.
            if (packetInProgress || !FindCapturePattern(offset + 1, byteLimit)) {
                return false;
            }
            continue;
        }
        ++pagesRead_;
        nextPageOffset_ = offset + header->HeaderSize() + header->BodySize();
        if (!serial_ && header->Is(OggPageHeader::FirstOfStream)) {
            serial_ = header->serial;
        }
        if (!serial_ || header->serial != *serial_) {
            continue;
        }
        if (header->Is(OggPageHeader::Continued) != packetInProgress) {
            return false; // a page is missing, or the stream starts in the middle of a packet
        }
        body_.resize(header->BodySize());
        const std::size_t got = source_.ReadAt(offset + header->HeaderSize(), body_);
        if (got < body_.size()) {
            // A file cut off in this page: the packets that end before the cut are still whole.
            std::size_t whole = 0;
            for (std::size_t bytes = 0;
                 whole < header->segmentCount && bytes + header->lacing[whole] <= got; ++whole) {
                bytes += header->lacing[whole];
            }
            header->segmentCount = static_cast<std::uint8_t>(whole);
            dataEndsInPage_ = true;
        }
        page_ = *header;
        pageOffset_ = offset;
        segment_ = 0;
        bodyPosition_ = 0;
        return true;
    }
}

bool OggPacketReader::FindCapturePattern(std::uint64_t from, std::uint64_t limit) {
    // The capture pattern with version 0: every match found is then a page header (unless the
    // data ends within it), so junk full of "OggS" cannot make the search start over and over.
    static constexpr std::array<std::uint8_t, 5> capture = {'O', 'g', 'g', 'S', 0};
    std::array<std::uint8_t, 65536> chunk{};
    for (std::uint64_t offset = from; offset < limit;) {
        const std::size_t got = source_.ReadAt(offset, chunk);
        if (got < capture.size()) {
            return false;
        }
        const auto end = chunk.begin() + static_cast<std::ptrdiff_t>(got);
        const auto found = std::search(chunk.begin(), end, capture.begin(), capture.end());
        if (found != end) {
            nextPageOffset_ = offset + static_cast<std::uint64_t>(found - chunk.begin());
            return nextPageOffset_ < limit;
        }
        // The pattern may straddle two chunks.
        offset += got - (capture.size() - 1);
    }
    return false;
}

} // namespace tralvo::tags
