#include "tags/id3v2/unsynchronisation.h"

namespace tralvo::tags::id3v2 {

void UndoUnsynchronisation(std::vector<std::uint8_t>& bytes) {
    const auto at = [&bytes](std::uint64_t position) -> std::uint8_t& {
        return bytes[static_cast<std::size_t>(position)];
    };
    const UnsynchronisationProgress done = UndoUnsynchronisation(at, 0, bytes.size(), true);
    bytes.resize(static_cast<std::size_t>(done.written));
}

} // namespace tralvo::tags::id3v2
