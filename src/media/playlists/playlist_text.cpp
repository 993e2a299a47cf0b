#include "media/playlists/playlist_text.h"

#include "platform/text.h"
#include "platform/utf8.h"

#include <algorithm>

namespace tralvo::media::playlists {

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return text;
}

void RefuseBinary(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        throw PlaylistError("the playlist is UTF-16 text, which is not read; save it as UTF-8");
    }
    if (text.find('\0') != std::string_view::npos) {
        throw PlaylistError("the file holds binary data, not a playlist");
    }
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& take) {
    std::size_t lines = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        ++lines;
        if (end > MaxLineLength) {
            throw PlaylistError("line " + std::to_string(lines) + " is longer than " +
                                std::to_string(MaxLineLength) + " bytes");
        }
        take(TrimBlanksAndControls(text.substr(0, end)));
        std::size_t next = end;
        if (next < text.size()) {
            next += text.substr(next).starts_with("\r\n") ? 2U : 1U;
        }
        text.remove_prefix(next);
    }
}

std::string Utf8OrLatin1(std::string_view text) {
    return IsUtf8(text) ? std::string(text) : Latin1ToUtf8(text);
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = ToLowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Whether text begins with a URI scheme and its ':' ("file:", "http:"); a drive letter such
// as "C:" is none, one letter being no scheme anyone writes.
bool HasScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) {
        return false;
    }
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
    });
}

} // namespace

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // "%00" stays: a NUL ends no name, and would cut the path short.
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0 && (text[i + 1] != '0' || text[i + 2] != '0')) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string EntryPath(std::string_view written) {
    std::string path;
    if (StartsWithIgnoringCase(written, "file:")) {
        std::string_view rest = written.substr(5);
        if (rest.starts_with("//")) {
            rest.remove_prefix(2);
            // The authority: empty or "localhost" for this machine, else a Windows share.
            const std::size_t slash = std::min(rest.find('/'), rest.size());
            const std::string_view host = rest.substr(0, slash);
            rest.remove_prefix(slash);
            if (!host.empty() && !EqualsIgnoringCase(host, "localhost")) {
                path = "//" + std::string(host);
            }
        }
        path += PercentDecoded(rest);
        // "/C:/Music/a.mp3" is the Windows path C:/Music/a.mp3.
        if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
            ((path[1] >= 'a' && path[1] <= 'z') || (path[1] >= 'A' && path[1] <= 'Z'))) {
            path.erase(0, 1);
        }
    } else if (HasScheme(written)) {
        // A stream ("http://...") names no file; it stays as written, to be told as unmatched.
        return std::string(written);
    } else {
        path = written;
    }
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string UriPath(std::string_view uri) {
    return HasScheme(uri) ? EntryPath(uri) : EntryPath(PercentDecoded(uri));
}

} // namespace tralvo::media::playlists
