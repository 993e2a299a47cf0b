#pragma once

#include <string>
#include <string_view>

namespace tralvo::cli {

// A text field in the tool's ASCII output: backslash as "\\", TAB "\t", LF "\n", CR "\r",
// every other byte below 0x20 or above 0x7E as "\xHH".
std::string EscapeField(std::string_view text);

// Writes the escaped text and a line feed to standard output.
void PrintField(std::string_view text);

} // namespace tralvo::cli
