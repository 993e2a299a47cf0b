#include "tags/id3v2/id3v2_tag.h"

namespace tralvo::tags {

FrameRecord& FrameIndex::operator[](std::size_t index) {
    if (index == 0 || index > frames_.size()) {
        throw FrameIndexRangeError();
    }
    return frames_[index - 1];
}

const FrameRecord& FrameIndex::operator[](std::size_t index) const {
    if (index == 0 || index > frames_.size()) {
        throw FrameIndexRangeError();
    }
    return frames_[index - 1];
}

FrameRecord& FrameIndex::Add() {
    return frames_.emplace_back();
}

} // namespace tralvo::tags
