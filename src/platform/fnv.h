#pragma once

#include <cstdint>
#include <string_view>

namespace tralvo {

constexpr std::uint64_t Fnv1a64Start = 0xcbf29ce484222325ULL;

// 64-bit FNV-1a of the bytes, continued from hash: names journals and identifies contents,
// so its values are part of what the state folder holds.
inline std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = Fnv1a64Start) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

} // namespace tralvo
