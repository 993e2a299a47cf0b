#include "arrange/track_loading.h"

#include "arrange/track_ordering.h"
#include "media/apple_double.h"
#include "platform/regular_file.h"

namespace tralvo {

std::size_t OrderPrefixLength(std::string_view name) {
    if (name.empty() || name.front() != '{') {
        return 0;
    }
    const std::size_t close = name.find('}');
    if (close == std::string_view::npos || close < 2) {
        return 0;
    }
    for (std::size_t i = 1; i < close; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
    }
    return close + 1;
}

std::vector<ListedTrack> ListAudioFiles(const std::string& folder, PlayerType type,
                                        FileSystem& fs) {
    std::vector<ListedTrack> files;
    std::vector<DirectoryEntry> entries;
    const std::string path = FolderWithSlash(folder);
    if (folder.empty() || !fs.Enumerate(path, EnumerateFilter::FilesOnly, false, entries)) {
        return files;
    }
    for (DirectoryEntry& entry : entries) {
        // Only a regular file, or a link to one, is a track: a named pipe called "x.mp3" would
        // block whatever opens it, a dangling link has nothing to play. Such entries stay
        // other entries of the folder, and so does a Mac's "._" companion of a track.
        if (entry.isFolder || media::KindOfPath(entry.name) == media::KindUnknown ||
            !IsRegularFile(path + entry.name) ||
            media::IsAppleDoubleCompanion(path + entry.name, fs)) {
            continue;
        }
        std::string display = entry.name;
        if (type == PlayerType::FileNames) {
            display.erase(0, OrderPrefixLength(display));
        }
        files.push_back({std::move(entry.name), std::move(display)});
    }
    return files;
}

TrackList LoadTracks(const std::string& folder, PlayerOrder order, FileSystem& fs) {
    TrackList tracks;
    const std::string path = FolderWithSlash(folder);
    for (ListedTrack& file : ListAudioFiles(folder, order.type, fs)) {
        tracks.Append(
            {std::move(file.display), std::make_unique<media::SoundFile>(path + file.name, fs)});
    }
    if (order.type == PlayerType::FileNames) {
        const media::SortKey key =
            order.only83FileNames ? media::SortKey::ShortFileName : media::SortKey::FileName;
        SortTrackList(tracks, {key, key, key}, false, false);
    } else if (order.type == PlayerType::CreationTimes) {
        constexpr media::SortKey key = media::SortKey::CreationTime;
        SortTrackList(tracks, {key, key, key}, false, false);
    }
    return tracks;
}

} // namespace tralvo
