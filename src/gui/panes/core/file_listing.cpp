#include "gui/panes/core/file_listing.h"

#include "media/apple_double.h"
#include "media/sound_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace tralvo {

bool IsAudioFileName(std::string_view name) {
    return media::KindOfPath(name) != media::KindUnknown;
}

bool IsPlaylistFileName(std::string_view name) {
    const std::string extension = ToLowerAscii(Extension(name));
    return extension == ".m3u" || extension == ".m3u8" || extension == ".pls" ||
           extension == ".xspf";
}

std::vector<std::string> FileListNamesIn(const std::string& folder, FileSystem& fs) {
    std::vector<DirectoryEntry> entries;
    if (folder.empty() || !fs.Enumerate(folder, EnumerateFilter::FilesOnly, false, entries)) {
        return {};
    }
    const std::string path = FolderWithSlash(folder);
    std::vector<std::string> names;
    for (DirectoryEntry& entry : entries) {
        if (!entry.isFolder && (IsAudioFileName(entry.name) || IsPlaylistFileName(entry.name)) &&
            !media::IsAppleDoubleCompanion(path + entry.name, fs)) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

} // namespace tralvo
