#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Grows, then copies: g++ 12 at -O3 sees a false bound inside vector::insert of a range and
// fails the build with -Warray-bounds or -Wstringop-overflow.
inline void AppendRaw(Bytes& out, const void* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + size);
    std::memcpy(out.data() + old, data, size);
}

inline void Append(Bytes& out, std::span<const std::uint8_t> bytes) {
    AppendRaw(out, bytes.data(), bytes.size());
}

inline void Append(Bytes& out, std::string_view text) {
    AppendRaw(out, text.data(), text.size());
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
