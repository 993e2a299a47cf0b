#include "media/playlists/m3u_reader.h"

#include "media/playlists/playlist_text.h"

namespace tralvo::media::playlists {

std::vector<std::string> ReadM3u(std::string_view text, bool utf8) {
    RefuseBinary(text);
    const std::string_view unmarked = WithoutByteOrderMark(text);
    // A byte order mark says UTF-8 whatever the extension says.
    const bool marked = unmarked.size() != text.size();
    const std::string decoded = utf8 || marked ? std::string(unmarked) : Utf8OrLatin1(unmarked);
    std::vector<std::string> entries;
    ForEachLine(decoded, [&](std::string_view line) {
        if (!line.empty() && !line.starts_with('#')) {
            entries.push_back(EntryPath(line));
        }
    });
    return entries;
}

} // namespace tralvo::media::playlists
