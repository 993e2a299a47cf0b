#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tralvo::test {

using Bytes = std::vector<std::uint8_t>;

// Appends value as size little-endian bytes.
inline void AppendLe(Bytes& out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

inline void Append(Bytes& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

inline void Append(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

inline Bytes Concat(std::span<const Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        Append(out, part);
    }
    return out;
}

inline Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

} // namespace tralvo::test
