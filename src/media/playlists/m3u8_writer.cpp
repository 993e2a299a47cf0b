#include "media/playlists/m3u8_writer.h"

#include "platform/text.h"

#include <algorithm>

namespace tralvo::media::playlists {

std::string WriteM3u8(const std::vector<M3u8Entry>& entries, std::vector<std::string>& unwritable) {
    std::string text = "#EXTM3U\n";
    for (const M3u8Entry& entry : entries) {
        if (entry.path.empty() || entry.path.find_first_of("\r\n") != std::string::npos) {
            unwritable.push_back(entry.path);
            continue;
        }
        std::string title = entry.title;
        std::replace_if(
            title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        text += "#EXTINF:" + std::to_string(entry.seconds < 0 ? -1 : entry.seconds) + "," + title +
                "\n";
        const char first = entry.path.front();
        if (first == '#' || static_cast<unsigned char>(first) <= 0x20 ||
            StartsWithIgnoringCase(entry.path, "file:")) {
            text += "./";
        }
        text += entry.path + "\n";
    }
    return text;
}

} // namespace tralvo::media::playlists
