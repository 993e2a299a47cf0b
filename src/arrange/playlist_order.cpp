#include "arrange/playlist_order.h"

#include "arrange/track_loading.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/unicode_compose.h"

#include <deque>
#include <unordered_map>

namespace tralvo {

namespace {

enum class Lookup { Found, Repeat, Unknown };

// The tracks under one kind of name, each name's tracks in list order.
class NameIndex {
public:
    NameIndex(bool foldsCase, const std::vector<bool>& placed)
        : foldsCase_(foldsCase), placed_(placed) {}

    void Add(std::string_view name, std::size_t track) { tracks_[Key(name)].push_back(track); }

    // The first track of name not placed yet.
    Lookup Find(std::string_view name, std::size_t& track) {
        const auto found = tracks_.find(Key(name));
        if (found == tracks_.end()) {
            return Lookup::Unknown;
        }
        std::deque<std::size_t>& waiting = found->second;
        while (!waiting.empty() && placed_[waiting.front()]) {
            waiting.pop_front();
        }
        if (waiting.empty()) {
            return Lookup::Repeat;
        }
        track = waiting.front();
        return Lookup::Found;
    }

private:
    // A playlist made on a Mac names "é" as "e" and a combining accent, the stick as one letter.
    std::string Key(std::string_view name) const {
        const std::string composed = ComposedUtf8(name);
        return foldsCase_ ? ToLowerAscii(composed) : composed;
    }

    bool foldsCase_;
    const std::vector<bool>& placed_;
    std::unordered_map<std::string, std::deque<std::size_t>> tracks_;
};

} // namespace

std::string FolderOfPlaylistEntry(const std::string& entry, const std::string& playlistFolder) {
    const std::size_t slash = entry.rfind('/');
    const std::string_view folder =
        slash == std::string::npos ? std::string_view() : std::string_view(entry).substr(0, slash);
    return FolderRelativeTo(playlistFolder, folder.empty() && slash == 0 ? "/" : folder);
}

PlaylistMatch MatchPlaylist(const LoadedFolder& loaded, const std::vector<std::string>& entries,
                            const std::string& playlistFolder, FileSystem& fs) {
    const TrackList& tracks = loaded.tracks;
    const bool foldsCase = fs.FoldsCase(loaded.folder);
    std::vector<bool> placed(tracks.size(), false);
    NameIndex onDisk(foldsCase, placed);
    NameIndex shown(foldsCase, placed);
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        onDisk.Add(tracks[i].file ? BaseName(tracks[i].file->FileName()) : tracks[i].display, i);
        shown.Add(tracks[i].display, i);
    }
    const std::string playerFolder = FolderWithSlash(loaded.folder);
    const bool prefixed = loaded.order.type == PlayerType::FileNames;

    PlaylistMatch match;
    for (const std::string& entry : entries) {
        const std::string_view name = BaseName(entry);
        const std::string folder = FolderOfPlaylistEntry(entry, playlistFolder);
        const bool inPlayerFolder =
            folder == playerFolder || (foldsCase && EqualsIgnoringCase(folder, playerFolder));
        NameIndex* const first = inPlayerFolder ? &onDisk : &shown;
        NameIndex* const second = inPlayerFolder ? &shown : &onDisk;
        std::size_t track = 0;
        Lookup lookup = name.empty() ? Lookup::Unknown : first->Find(name, track);
        if (lookup == Lookup::Unknown && !name.empty()) {
            lookup = second->Find(name, track);
        }
        if (lookup == Lookup::Unknown && prefixed && OrderPrefixLength(name) > 0) {
            lookup = shown.Find(name.substr(OrderPrefixLength(name)), track);
        }
        if (lookup == Lookup::Found) {
            placed[track] = true;
            match.order.push_back(track);
        } else if (lookup == Lookup::Unknown) {
            match.unmatched.push_back(entry);
        }
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (!placed[i]) {
            match.order.push_back(i);
        }
    }
    return match;
}

std::vector<std::string> OrderByPlaylist(TrackList& tracks, const std::string& folder,
                                         PlayerOrder order, const std::vector<std::string>& entries,
                                         const std::string& playlistFolder, FileSystem& fs) {
    LoadedFolder loaded{FolderWithSlash(folder), order, std::move(tracks)};
    PlaylistMatch match = MatchPlaylist(loaded, entries, playlistFolder, fs);
    tracks = std::move(loaded.tracks);
    tracks.Reorder(match.order);
    return std::move(match.unmatched);
}

} // namespace tralvo
