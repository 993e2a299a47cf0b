// Unescapes and formats arbitrary catalogue values.
#include "i18n/lang_text.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\0');
    const std::string_view templateText = text.substr(0, split);
    const std::string_view arguments =
        split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
    (void)tralvo::UnescapeLangValue(text);
    (void)tralvo::FormatLangString(templateText, arguments);
    return 0;
}
