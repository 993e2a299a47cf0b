#include "arrange/player_order.h"

#include "arrange/track_loading.h"
#include "media/sound_file.h"
#include "platform/text.h"

#include <algorithm>

namespace tralvo {

namespace {

// Each key read once; ties keep the listing's order.
template <typename KeyOf>
void SortBy(std::vector<ListedTrack>& tracks, KeyOf keyOf) {
    using Key = decltype(keyOf(tracks.front()));
    std::vector<std::pair<Key, ListedTrack>> keyed;
    keyed.reserve(tracks.size());
    for (ListedTrack& track : tracks) {
        Key key = keyOf(track);
        keyed.emplace_back(std::move(key), std::move(track));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    tracks.clear();
    for (auto& [key, track] : keyed) {
        tracks.push_back(std::move(track));
    }
}

} // namespace

std::vector<ListedTrack> ListPlayerOrder(const std::string& folder, PlayerOrder order,
                                         FileSystem& fs) {
    std::vector<ListedTrack> tracks = ListAudioFiles(folder, order.type, fs);
    const std::string path = FolderWithSlash(folder);
    if (order.type == PlayerType::FileNames) {
        // Folded A to Z, then compared as unsigned bytes, as the sort keys compare.
        SortBy(tracks, [&](const ListedTrack& track) {
            const std::string full = path + track.name;
            return ToLowerAscii(order.only83FileNames ? fs.ShortPath(full) : full);
        });
    } else if (order.type == PlayerType::CreationTimes) {
        SortBy(tracks, [&](const ListedTrack& track) {
            return media::CreationTimeOf(path + track.name, fs);
        });
    }
    return tracks;
}

} // namespace tralvo
