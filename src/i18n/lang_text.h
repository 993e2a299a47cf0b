#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// Replaces the catalogue's escapes, in this order, each over the whole text as changed by the
// steps before it, letters in either case: "\r" and "\n" become CR LF, "\s" a blank, "\@"
// "@", "\'" "'", "\"" '"', and "\\" one backslash. So "\r\n" gives two line breaks.
std::string UnescapeLangValue(std::string_view text);

// Splits text into lines as a text list does: at CR LF, CR or LF; a trailing line break
// does not start another line.
std::vector<std::string> SplitLines(std::string_view text);

// Puts the "|"-separated arguments in place of "%0", "%1", ... one number at a time in
// increasing order, in the text as changed so far; so with eleven arguments "%10" is first
// hit by "%1" and shows argument 1 followed by "0".
std::string FormatLangString(std::string_view templateText, std::string_view arguments);

} // namespace tralvo
