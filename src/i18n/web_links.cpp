#include "i18n/web_links.h"

namespace tralvo {

namespace {

constexpr std::string_view MakerSite = "https://www.tralvo.org/";

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string MakerWebLink(std::string_view linkId) {
    // A language code comes from a hand-written catalogue; a blank, "&" or "#" in it must not
    // cut the query short or start a fragment, so anything but plain letters is escaped.
    static constexpr std::string_view hex = "0123456789ABCDEF";
    std::string link(MakerSite);
    link += "?LinkID=";
    for (const char c : linkId) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            link.push_back(c);
        } else {
            link.push_back('%');
            link.push_back(hex[byte >> 4U]);
            link.push_back(hex[byte & 0x0FU]);
        }
    }
    return link;
}

} // namespace tralvo
