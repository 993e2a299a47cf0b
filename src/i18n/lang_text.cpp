#include "i18n/lang_text.h"

#include "platform/text.h"

#include <array>
#include <utility>

namespace tralvo {

std::string UnescapeLangValue(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> Steps{{
        {"\\r", "\r\n"},
        {"\\n", "\r\n"},
        {"\\s", " "},
        {"\\@", "@"},
        {"\\'", "'"},
        {"\\\"", "\""},
        {"\\\\", "\\"},
    }};
    std::string result(text);
    for (const auto& [from, to] : Steps) {
        if (result.find('\\') == std::string::npos) {
            break;
        }
        result = ReplaceAll(result, from, to, true);
    }
    return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::string FormatLangString(std::string_view templateText, std::string_view arguments) {
    const std::vector<std::string> values = SplitLines(ReplaceAll(arguments, "|", "\r\n"));
    std::string result(templateText);
    for (std::size_t i = 0; i < values.size(); ++i) {
        result = ReplaceAll(result, "%" + std::to_string(i), values[i]);
    }
    return result;
}

} // namespace tralvo
