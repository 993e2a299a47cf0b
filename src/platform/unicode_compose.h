#pragma once

#include <string>
#include <string_view>

namespace tralvo {

// The same name may come as "é" in one code point (U+00E9), as Windows and Linux write it, or
// as "e" followed by a combining acute (U+0065 U+0301), as a Mac writes it. These give either
// form for the Latin letters with diacritics; other text, and bytes that are not UTF-8, come
// back as they are.
std::string ComposedUtf8(std::string_view text);
std::string DecomposedUtf8(std::string_view text);

} // namespace tralvo
