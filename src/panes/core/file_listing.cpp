#include "panes/core/file_listing.h"

#include "platform/text.h"

#include <algorithm>
#include <array>

namespace tralvo {

bool IsAudioFileName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    static constexpr std::array<std::string_view, 4> extensions = {".mp3", ".ogg", ".wma", ".wav"};
    const std::string_view extension = name.substr(dot);
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view known) {
        return EqualsIgnoringCase(extension, known);
    });
}

std::vector<std::string> ListAudioFiles(const std::string& folder, FileSystem& fs) {
    std::vector<DirectoryEntry> entries;
    if (folder.empty() || !fs.Enumerate(folder, EnumerateFilter::FilesOnly, false, entries)) {
        return {};
    }
    std::vector<std::string> names;
    for (DirectoryEntry& entry : entries) {
        if (!entry.isFolder && IsAudioFileName(entry.name)) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

} // namespace tralvo
