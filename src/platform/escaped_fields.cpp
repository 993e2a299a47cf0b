#include "platform/escaped_fields.h"

namespace tralvo {

namespace {

bool IsPrintableAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte <= 0x7E;
}

int HexValue(char c, FieldReading reading) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return reading == FieldReading::Lenient && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

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
            if (IsPrintableAscii(c)) {
                out += c;
            } else {
                out += "\\x";
                out += Hex[byte >> 4];
                out += Hex[byte & 0x0F];
            }
        }
    }
    return out;
}

std::optional<std::string> UnescapeField(std::string_view field, FieldReading reading) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            if (reading == FieldReading::Strict && !IsPrintableAscii(field[i])) {
                return std::nullopt;
            }
            out += field[i];
            continue;
        }
        if (++i >= field.size()) {
            return std::nullopt;
        }
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            const int high = i + 1 < field.size() ? HexValue(field[i + 1], reading) : -1;
            const int low = i + 2 < field.size() ? HexValue(field[i + 2], reading) : -1;
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

void AppendEscapedLine(std::string& text, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            text += '\t';
        }
        first = false;
        text += EscapeField(field);
    }
    text += '\n';
}

} // namespace tralvo
