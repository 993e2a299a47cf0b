#include "media/playlists/pls_reader.h"

#include "media/playlists/playlist_text.h"
#include "platform/text.h"

#include <cstdint>
#include <map>
#include <optional>

namespace tralvo::media::playlists {

namespace {

// The number after "File" in key, or nothing for another key.
std::optional<std::uint64_t> FileNumber(std::string_view key) {
    if (!StartsWithIgnoringCase(key, "file") || key.size() == 4 || key.size() > 4 + 18) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (const char c : key.substr(4)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return number;
}

} // namespace

std::vector<std::string> ReadPls(std::string_view text) {
    RefuseBinary(text);
    const std::string decoded = Utf8OrLatin1(WithoutByteOrderMark(text));
    std::map<std::uint64_t, std::string> files;
    bool inPlaylist = true; // keys before any section count, as lenient players read them
    ForEachLine(decoded, [&](std::string_view line) {
        if (line.starts_with('[')) {
            inPlaylist = EqualsIgnoringCase(line, "[playlist]");
            return;
        }
        const std::size_t equals = line.find('=');
        if (!inPlaylist || equals == std::string_view::npos) {
            return;
        }
        const std::optional<std::uint64_t> number =
            FileNumber(TrimBlanksAndControls(line.substr(0, equals)));
        const std::string_view value = TrimBlanksAndControls(line.substr(equals + 1));
        if (number && !value.empty()) {
            files.emplace(*number, EntryPath(value));
        }
    });
    std::vector<std::string> entries;
    entries.reserve(files.size());
    for (auto& [number, path] : files) {
        entries.push_back(std::move(path));
    }
    return entries;
}

} // namespace tralvo::media::playlists
