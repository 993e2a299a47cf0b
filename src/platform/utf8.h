#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tralvo {

// Names and tag text are bytes; these say when bytes are UTF-8 and turn other text into it.

// The length of the well-formed UTF-8 sequence that text begins with; 0 for none, which covers
// overlong forms, surrogates and code points beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text);

bool IsUtf8(std::string_view text);

// Each byte as the Latin-1 character it stands for, in UTF-8.
std::string Latin1ToUtf8(std::string_view text);

// Appends the code point in UTF-8; false, appending nothing, for a surrogate, for 0 and for a
// value beyond U+10FFFF.
bool AppendUtf8(std::string& text, char32_t codePoint);

} // namespace tralvo
