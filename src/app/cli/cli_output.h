#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace tralvo::cli {

// A text field in the tool's ASCII output: backslash as "\\", TAB "\t", LF "\n", CR "\r",
// every other byte below 0x20 or above 0x7E as "\xHH".
std::string EscapeField(std::string_view text);

// The bytes an escaped field stands for: the escapes above (hex digits in either case) are
// undone, every other byte stands for itself; nothing for a backslash that starts none of them.
std::optional<std::string> UnescapeField(std::string_view field);

// Writes the escaped text and a line feed to standard output.
void PrintField(std::string_view text);

// Writes the fields escaped, TAB-separated, as one line to standard output.
void PrintFields(std::initializer_list<std::string_view> fields);

} // namespace tralvo::cli
