#pragma once

#include "tags/id3v2/id3v2_tag.h"

#include <cstdint>

namespace tralvo::tags::id3v2 {

// Makes a frame's data readable, once: undoes its own unsynchronisation, then inflates it.
// A frame that fails to inflate keeps its compressed bytes and is read as they are. Returns
// id3v2_read::Encrypted for an encrypted frame, Empty when no data is left, else Ok.
std::uint8_t PrepareFrameForReading(FrameRecord& frame);

} // namespace tralvo::tags::id3v2
