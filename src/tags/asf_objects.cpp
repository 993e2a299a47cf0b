#include "tags/asf_objects.h"

#include "tags/byte_cursor.h"

#include <algorithm>

namespace tralvo::tags {

std::vector<AsfObject> SplitAsfObjects(std::span<const std::uint8_t> bytes) {
    std::vector<AsfObject> objects;
    ByteCursor cursor(bytes);
    while (cursor.Remaining() >= AsfObject::HeaderSize) {
        AsfObject object;
        const auto guid = cursor.Bytes(object.guid.size());
        const auto size = cursor.U64();
        if (!guid || !size || *size < AsfObject::HeaderSize) {
            break;
        }
        const auto body = cursor.Bytes(*size - AsfObject::HeaderSize);
        if (!body) {
            break;
        }
        std::copy(guid->begin(), guid->end(), object.guid.begin());
        object.body = *body;
        objects.push_back(object);
    }
    return objects;
}

std::optional<std::vector<std::uint8_t>> ReadAsfHeaderChildren(ByteSource& source,
                                                               std::size_t maxSize) {
    constexpr std::size_t preambleSize = 30;
    std::array<std::uint8_t, preambleSize> preamble{};
    if (source.ReadAt(0, preamble) < preamble.size() ||
        !std::equal(asf::HeaderObject.begin(), asf::HeaderObject.end(), preamble.begin())) {
        return std::nullopt;
    }
    const std::uint64_t size = LittleEndian(std::span(preamble).subspan(16, 8));
    if (size < preambleSize) {
        return std::nullopt;
    }
    // Read in steps, so that a size field claiming more than the file holds costs no more
    // memory than the file.
    const std::uint64_t wanted = std::min<std::uint64_t>(size - preambleSize, maxSize);
    constexpr std::size_t step = 65536;
    std::vector<std::uint8_t> children;
    while (children.size() < wanted) {
        const std::size_t done = children.size();
        const auto request = static_cast<std::size_t>(std::min<std::uint64_t>(step, wanted - done));
        children.resize(done + request);
        const std::size_t got =
            source.ReadAt(preambleSize + done, std::span(children).subspan(done));
        children.resize(done + got);
        if (got < request) {
            break;
        }
    }
    return children;
}

} // namespace tralvo::tags
