#include "tags/writers/asf_writer.h"

#include <algorithm>

namespace tralvo::test {
namespace {

struct SourceObject {
    AsfGuidBytes guid{};
    std::span<const std::uint8_t> whole;
    std::span<const std::uint8_t> body;
};

std::uint64_t ReadLe(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = size; i > 0; --i) {
        value = (value << 8) | bytes[at + i - 1];
    }
    return value;
}

// The objects that fill bytes exactly; nothing if they don't.
std::optional<std::vector<SourceObject>> SplitObjects(std::span<const std::uint8_t> bytes) {
    std::vector<SourceObject> objects;
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < 24) {
            return std::nullopt;
        }
        const std::uint64_t size = ReadLe(bytes, offset + 16, 8);
        if (size < 24 || size > bytes.size() - offset) {
            return std::nullopt;
        }
        SourceObject object;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), 16, object.guid.begin());
        object.whole = bytes.subspan(offset, static_cast<std::size_t>(size));
        object.body = object.whole.subspan(24);
        objects.push_back(object);
        offset += object.whole.size();
    }
    return objects;
}

bool IsMetadata(const AsfGuidBytes& guid) {
    static const AsfGuidBytes library = AsfGuidFromText("44231C94-9498-49D1-A141-1D134E457054");
    return guid == asf_guid::Metadata || guid == library;
}

// The header extension with its metadata objects replaced by one holding metadata.
std::optional<Bytes> RebuiltExtension(const SourceObject& extension,
                                      const std::vector<AsfAttribute>& metadata) {
    constexpr std::size_t reservedSize = 18;
    if (extension.body.size() < reservedSize + 4 ||
        ReadLe(extension.body, reservedSize, 4) != extension.body.size() - reservedSize - 4) {
        return std::nullopt;
    }
    const auto children = SplitObjects(extension.body.subspan(reservedSize + 4));
    if (!children) {
        return std::nullopt;
    }
    std::vector<Bytes> kept;
    for (const SourceObject& child : *children) {
        if (!IsMetadata(child.guid)) {
            kept.emplace_back(child.whole.begin(), child.whole.end());
        }
    }
    if (!metadata.empty()) {
        kept.push_back(AsfMetadataObject(metadata));
    }
    const Bytes data = Concat(kept);
    Bytes body(extension.body.begin(), extension.body.begin() + reservedSize);
    AppendLe(body, data.size(), 4);
    Append(body, data);
    return AsfObjectBytes(asf_guid::HeaderExtension, body);
}

} // namespace

Bytes WithAsfAttributes(std::span<const std::uint8_t> wmaFile, const AsfTags& tags) {
    constexpr std::size_t preambleSize = 30;
    if (wmaFile.size() < preambleSize ||
        !std::equal(asf_guid::Header.begin(), asf_guid::Header.end(), wmaFile.begin())) {
        return {};
    }
    const std::uint64_t headerSize = ReadLe(wmaFile, 16, 8);
    if (headerSize < preambleSize || headerSize > wmaFile.size()) {
        return {};
    }
    const auto children = SplitObjects(
        wmaFile.subspan(preambleSize, static_cast<std::size_t>(headerSize) - preambleSize));
    if (!children) {
        return {};
    }

    std::vector<Bytes> kept;
    bool extensionSeen = false;
    for (const SourceObject& child : *children) {
        if (child.guid == asf_guid::ContentDescription ||
            child.guid == asf_guid::ExtendedContentDescription) {
            continue;
        }
        if (child.guid == asf_guid::HeaderExtension && !extensionSeen) {
            auto extension = RebuiltExtension(child, tags.metadata);
            if (!extension) {
                return {};
            }
            kept.push_back(std::move(*extension));
            extensionSeen = true;
            continue;
        }
        kept.emplace_back(child.whole.begin(), child.whole.end());
    }
    AsfTags rest = tags;
    if (extensionSeen) {
        rest.metadata.clear(); // already in the kept header extension
    }
    for (Bytes& object : AsfTagObjects(rest)) {
        kept.push_back(std::move(object));
    }

    // The file properties object records the size of the whole file.
    const std::size_t fileSize =
        Concat(kept).size() + preambleSize + wmaFile.size() - static_cast<std::size_t>(headerSize);
    for (Bytes& object : kept) {
        constexpr std::size_t fileSizeOffset = 24 + 16; // after the object header and file id
        if (object.size() >= fileSizeOffset + 8 &&
            std::equal(asf_guid::FileProperties.begin(), asf_guid::FileProperties.end(),
                       object.begin())) {
            for (std::size_t i = 0; i < 8; ++i) {
                object[fileSizeOffset + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
            }
        }
    }
    Bytes out = AsfHeaderObject(kept);
    Append(out, wmaFile.subspan(static_cast<std::size_t>(headerSize)));
    return out;
}

} // namespace tralvo::test
