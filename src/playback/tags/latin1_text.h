#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tralvo::playback {

// Tag text leaves the parsers as one byte per character, shown as Latin-1, and the engine hands
// it on as NUL-terminated strings; so every text ends at its first NUL.

// The bytes of text up to its first NUL.
std::string UpToNul(std::span<const std::uint8_t> text);

// UTF-16LE text as Latin-1 bytes, up to its first U+0000 (ASF strings carry a terminator).
// Characters above U+00FF become '?', a surrogate pair (or a lone surrogate) one '?'; an odd
// last byte is ignored.
std::string Utf16LeToLatin1(std::span<const std::uint8_t> text);

} // namespace tralvo::playback
