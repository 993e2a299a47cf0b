#include "tags/id3v2/frame_preparation.h"

#include "tags/id3v2/frame_inflate.h"
#include "tags/id3v2/unsynchronisation.h"

#include <optional>
#include <vector>

namespace tralvo::tags::id3v2 {

std::uint8_t PrepareFrameForReading(FrameRecord& frame) {
    if ((frame.pendingFlags & FrameRecord::Unsynchronisation) != 0) {
        UndoUnsynchronisation(frame.data);
        frame.pendingFlags &= static_cast<std::uint8_t>(~FrameRecord::Unsynchronisation);
        frame.modified = true;
    }
    if ((frame.formatFlags & FrameRecord::Encryption) != 0) {
        return id3v2_read::Encrypted;
    }
    if ((frame.pendingFlags & FrameRecord::Compression) != 0) {
        // The stored length may differ from the inflated one either way. On failure the
        // compression flag stays pending; a later read tries again, within the same ceiling.
        std::optional<std::vector<std::uint8_t>> inflated =
            InflateFrameData(frame.data, InflateCeiling);
        if (inflated) {
            frame.data = std::move(*inflated);
            frame.dataLength = 0;
            frame.pendingFlags &= static_cast<std::uint8_t>(~FrameRecord::Compression);
            frame.modified = true;
        }
    }
    return frame.data.empty() ? id3v2_read::Empty : id3v2_read::Ok;
}

} // namespace tralvo::tags::id3v2
