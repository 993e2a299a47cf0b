#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tralvo::tags {

// Tag text leaves the parsers as one byte per character, shown as Latin-1, and ends at its first
// NUL: the fields have always been shown up to there.

// The bytes of text up to its first NUL.
std::string UpToNul(std::span<const std::uint8_t> text);

// UTF-16LE text as Latin-1 bytes, up to its first U+0000 (ASF strings carry a terminator).
// Characters above U+00FF become '?', a surrogate pair (or a lone surrogate) one '?'; an odd
// last byte is ignored.
std::string Utf16LeToLatin1(std::span<const std::uint8_t> text);

} // namespace tralvo::tags
