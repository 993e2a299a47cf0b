#include "app/cli/cli_output.h"

#include <cstdio>

namespace tralvo::cli {

std::string EscapeField(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (byte < 0x20 || byte > 0x7E) {
                out += "\\x";
                out += Hex[byte >> 4];
                out += Hex[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
    return out;
}

void PrintField(std::string_view text) {
    const std::string line = EscapeField(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace tralvo::cli
