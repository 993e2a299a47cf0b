// Number layouts, unsynchronisation, zlib, and frames as a tag of either version writes them.
#include "media/writers/id3v2_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <zlib.h>

namespace tralvo::test {

Bytes SyncsafeBytes(std::uint64_t value, std::size_t count) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) {
        out[count - 1 - i] = static_cast<std::uint8_t>((value >> (7 * i)) & 0x7F);
    }
    return out;
}

Bytes BigEndianBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes Unsynchronise(std::span<const std::uint8_t> bytes) {
    Bytes out;
    out.reserve(bytes.size() + bytes.size() / 64);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF &&
            (i + 1 == bytes.size() || bytes[i + 1] == 0x00 || bytes[i + 1] >= 0xE0)) {
            out.push_back(0x00);
        }
    }
    return out;
}

Bytes ZlibCompress(std::span<const std::uint8_t> bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib cannot compress");
    }
    out.resize(size);
    return out;
}

Bytes Id3v2TagWriter::FrameBytes(const Id3v2Frame& frame) const {
    const bool v4 = majorVersion_ == 4;
    const bool unsynchronised = v4 && (frame.unsynchronised || unsynchronised_);
    const bool lengthIndicator = v4 && (frame.compressed || frame.dataLengthIndicator);
    const std::uint32_t dataLength =
        frame.dataLength.value_or(static_cast<std::uint32_t>(frame.content.size()));

    Bytes data = frame.compressed ? ZlibCompress(frame.content) : frame.content;
    if (unsynchronised) {
        data = test::Unsynchronise(data);
    }
    if (frame.payload) {
        data = *frame.payload;
    }

    Bytes extra;
    std::uint8_t format = 0;
    if (v4) {
        if (frame.groupId) {
            extra.push_back(*frame.groupId);
        }
        if (frame.encrypted) {
            extra.push_back(frame.encryptionMethod);
        }
        if (lengthIndicator) {
            Append(extra, SyncsafeBytes(dataLength));
        }
        format =
            static_cast<std::uint8_t>((frame.groupId ? 0x40 : 0) | (frame.compressed ? 0x08 : 0) |
                                      (frame.encrypted ? 0x04 : 0) | (unsynchronised ? 0x02 : 0) |
                                      (lengthIndicator ? 0x01 : 0));
    } else {
        if (frame.compressed) {
            Append(extra, BigEndianBytes(dataLength));
        }
        if (frame.encrypted) {
            extra.push_back(frame.encryptionMethod);
        }
        if (frame.groupId) {
            extra.push_back(*frame.groupId);
        }
        format =
            static_cast<std::uint8_t>((frame.compressed ? 0x80 : 0) | (frame.encrypted ? 0x40 : 0) |
                                      (frame.groupId ? 0x20 : 0));
    }

    std::array<std::uint8_t, 4> id{};
    for (std::size_t i = 0; i < id.size() && i < frame.id.size(); ++i) {
        id[i] = static_cast<std::uint8_t>(frame.id[i]);
    }
    const auto size = frame.size.value_or(static_cast<std::uint32_t>(extra.size() + data.size()));
    const std::array<std::uint8_t, 2> flags{frame.statusFlags, frame.formatFlags.value_or(format)};
    Bytes out;
    Append(out, id);
    if (frame.rawSize) {
        Append(out, *frame.rawSize);
    } else {
        Append(out, v4 ? SyncsafeBytes(size) : BigEndianBytes(size));
    }
    Append(out, flags);
    Append(out, extra);
    Append(out, data);
    return out;
}

} // namespace tralvo::test
