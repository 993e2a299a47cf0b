#pragma once

#include "platform/escaped_fields.h"

#include <initializer_list>
#include <string_view>

namespace tralvo::cli {

// The tool's text fields are escaped fields: its ASCII output writes them, order files are
// read back leniently.
using tralvo::EscapeField;
using tralvo::UnescapeField;

// Writes the escaped text and a line feed to standard output.
void PrintField(std::string_view text);

// Writes the fields escaped, TAB-separated, as one line to standard output.
void PrintFields(std::initializer_list<std::string_view> fields);

} // namespace tralvo::cli
