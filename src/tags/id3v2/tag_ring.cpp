#include "tags/id3v2/tag_ring.h"

#include "tags/id3v2/unsynchronisation.h"

#include <algorithm>
#include <cstring>

namespace tralvo::tags::id3v2 {

TagRing::TagRing(TagFile& file, std::uint64_t bodyOffset, std::uint32_t bodySize,
                 bool unsynchronised)
    : file_(file), bodyOffset_(bodyOffset), bodySize_(bodySize), unsynchronised_(unsynchronised),
      capacity_(std::min<std::size_t>(bodySize, RingSize)),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity_)) {
    Refill();
}

std::uint64_t TagRing::Remaining() const {
    return (rawEnd_ - head_) + (bodySize_ - fileRead_);
}

void TagRing::Refill() {
    const std::uint64_t free = capacity_ - (rawEnd_ - head_);
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(free, bodySize_ - fileRead_));
    if (count == 0) {
        return;
    }
    // A body below RingSize never wraps: it is read whole into a buffer of its own size.
    const std::size_t start = static_cast<std::size_t>(rawEnd_ % RingSize);
    const std::size_t first = std::min(count, RingSize - start);
    file_.ReadAt(bodyOffset_ + fileRead_, {buffer_.get() + start, first},
                 {buffer_.get(), count - first});
    fileRead_ += count;
    rawEnd_ += count;
    if (!unsynchronised_) {
        tail_ = rawEnd_;
        return;
    }
    const auto at = [this](std::uint64_t position) -> std::uint8_t& { return At(position); };
    const UnsynchronisationProgress done =
        UndoUnsynchronisation(at, tail_, rawEnd_, fileRead_ == bodySize_);
    // The bytes left waiting move up behind the de-unsynchronised ones.
    std::uint64_t to = done.written;
    for (std::uint64_t from = done.read; from < rawEnd_; ++from) {
        At(to++) = At(from);
    }
    tail_ = done.written;
    rawEnd_ = to;
}

std::size_t TagRing::Read(std::span<std::uint8_t> out) {
    std::size_t copied = 0;
    while (copied < out.size()) {
        std::size_t piece =
            std::min(out.size() - copied, BlockSize - static_cast<std::size_t>(head_ % BlockSize));
        if (fileRead_ < bodySize_ && tail_ - head_ < piece + 2) {
            Refill();
        }
        piece = std::min<std::size_t>(piece, static_cast<std::size_t>(tail_ - head_));
        if (piece == 0) {
            break;
        }
        std::memcpy(out.data() + copied, &At(head_), piece);
        head_ += piece;
        copied += piece;
    }
    return copied;
}

void TagRing::SkipRest() {
    head_ = tail_ = rawEnd_;
    fileRead_ = bodySize_;
}

} // namespace tralvo::tags::id3v2
