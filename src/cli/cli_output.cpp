#include "cli/cli_output.h"

#include <cstdio>
#include <string>

namespace tralvo::cli {

void PrintField(std::string_view text) {
    const std::string line = EscapeField(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

void PrintFields(std::initializer_list<std::string_view> fields) {
    std::string line;
    AppendEscapedLine(line, fields);
    std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace tralvo::cli
