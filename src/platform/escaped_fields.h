#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace tralvo {

// A text field of a line of TAB-separated fields: backslash as "\\", TAB "\t", LF "\n",
// CR "\r", every other byte below 0x20 or above 0x7E as "\xHH" (upper-case digits). What it
// gives is printable ASCII without TAB, so that no name can split a line or a field.
std::string EscapeField(std::string_view text);

enum class FieldReading {
    // As a person may write it: hex digits in either case, every other byte stands for itself.
    Lenient,
    // Only what EscapeField writes: upper-case hex digits, printable ASCII bytes.
    Strict,
};

// The bytes an escaped field stands for; nothing for a backslash that starts no escape, and,
// read strictly, for anything EscapeField does not write.
std::optional<std::string> UnescapeField(std::string_view field,
                                         FieldReading reading = FieldReading::Lenient);

// Appends the fields escaped, TAB-separated, and a line feed.
void AppendEscapedLine(std::string& text, std::initializer_list<std::string_view> fields);

} // namespace tralvo
