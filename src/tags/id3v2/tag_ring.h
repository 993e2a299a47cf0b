#pragma once

#include "tags/id3v2/tag_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace tralvo::tags::id3v2 {

// The tag body as a stream, read through a 65536-byte ring of four 16384-byte blocks: a body
// below 65536 bytes is read whole at once, a larger one fills the four blocks and is refilled
// as it is consumed. A body that is unsynchronised as a whole (version 3) is de-unsynchronised
// as it arrives; a refill starts that work up to two bytes before its new bytes, so a pair cut
// by the refill is caught as it would be in one piece.
class TagRing {
public:
    static constexpr std::size_t BlockSize = 16384;
    static constexpr std::size_t RingSize = 4 * BlockSize;

    // Reads the first part of the body at once; throws FileFailure.
    TagRing(TagFile& file, std::uint64_t bodyOffset, std::uint32_t bodySize, bool unsynchronised);
    TagRing(const TagRing&) = delete;
    TagRing& operator=(const TagRing&) = delete;

    // Body bytes not yet consumed, in the ring and in the file together. Bytes still in the file
    // are counted before de-unsynchronisation, so an unsynchronised body may deliver fewer.
    std::uint64_t Remaining() const;
    // Copies up to out.size() bytes; fewer only at the end of the body. Throws FileFailure.
    std::size_t Read(std::span<std::uint8_t> out);
    // Consumes everything remaining without reading it.
    void SkipRest();

    // Body bytes delivered so far.
    std::uint64_t Consumed() const { return head_; }
    // Body bytes read from the file so far, or passed over by SkipRest.
    std::uint64_t FileBytesDone() const { return fileRead_; }

private:
    void Refill();
    std::uint8_t& At(std::uint64_t position) { return buffer_[position % RingSize]; }

    TagFile& file_;
    std::uint64_t bodyOffset_;
    std::uint32_t bodySize_;
    bool unsynchronised_;
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    // Positions in the body stream, counted from its start; the ring holds [head_, rawEnd_):
    // bytes ready to be consumed up to tail_, then at most two raw bytes waiting for the bytes
    // after them before they can be de-unsynchronised.
    std::uint64_t head_ = 0;
    std::uint64_t tail_ = 0;
    std::uint64_t rawEnd_ = 0;
    std::uint64_t fileRead_ = 0;
};

} // namespace tralvo::tags::id3v2
