#pragma once

// What every playlist reader promises: entries or a problem, never both, never a crash; and
// every entry that an M3U8 can carry reads back from the M3U8 written of them.
#include "media/playlists/m3u8_writer.h"
#include "media/playlists/m3u_reader.h"
#include "media/playlists/playlist_file.h"
#include "platform/paths.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo::fuzz {

inline bool WrittenAsItStands(const std::string& path) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    return !path.empty() && !blank(path.front()) && !blank(path.back());
}

inline void CheckPlaylist(std::string_view name, const std::uint8_t* data, std::size_t size) {
    using namespace media::playlists;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const PlaylistRead read = ReadPlaylistText(name, text);
    if (read.problem.empty() == read.paths.empty()) {
        std::abort(); // either entries or a reason for none
    }
    std::vector<M3u8Entry> entries;
    for (const std::string& path : read.paths) {
        entries.push_back({-1, path, path});
    }
    std::vector<std::string> unwritable;
    const std::vector<std::string> back = ReadM3u(WriteM3u8(entries, unwritable), true);
    std::size_t next = 0;
    for (const std::string& path : read.paths) {
        if (path.find_first_of("\r\n") != std::string::npos) {
            continue;
        }
        if (next >= back.size()) {
            std::abort(); // an entry was lost on the way
        }
        if (WrittenAsItStands(path) && BaseName(back[next]) != BaseName(path)) {
            std::abort(); // an entry names another file once written
        }
        ++next;
    }
}

} // namespace tralvo::fuzz
