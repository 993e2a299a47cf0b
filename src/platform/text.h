#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// Text is bytes, one byte per character; case folding touches A to Z only.
constexpr char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
constexpr char ToUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Removes blanks and control characters (bytes up to 0x20) at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

// The non-empty pieces of text between separators.
std::vector<std::string_view> SplitNonEmpty(std::string_view text, char separator);

// Replaces every occurrence of from in text by to, scanning left to right over the text as
// it was before this call; when ignoreCase is set, A to Z match either case.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to,
                       bool ignoreCase = false);

// Integers as the settings file and tags write them: decimal with an optional sign, or
// hexadecimal after "$", "0x" or "0X"; anything else, or a value outside 32 bits, gives
// nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace tralvo
