#include "media/sound_file.h"
#include "platform/text.h"

namespace tralvo::media {

std::string TrimTagText(std::string_view text) {
    return std::string(TrimBlanksAndControls(text));
}

std::int32_t ConvertTrackNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    // Besides "$", "0x" and "0X", a bare "x" or "X" starts a hexadecimal number here.
    const std::size_t sign = !text.empty() && (text.front() == '+' || text.front() == '-') ? 1 : 0;
    std::string normalized(text.substr(0, sign));
    if (text.size() > sign && (text[sign] == 'x' || text[sign] == 'X')) {
        normalized += '0';
    }
    normalized += text.substr(sign);
    return ParseInteger(normalized).value_or(0);
}

} // namespace tralvo::media
