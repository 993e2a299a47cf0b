#include "arrange/track_list_m3u8.h"

#include "platform/paths.h"
#include "platform/utf8.h"

namespace tralvo {

namespace {

// As the program shows tag text: Vorbis comments are UTF-8 when their bytes are, every other
// tag one Latin-1 byte per character.
std::string TagTextInUtf8(const media::SoundFile& file, const std::string& text) {
    return file.Kind() == media::KindOggVorbis && IsUtf8(text) ? text : Latin1ToUtf8(text);
}

std::string ShownTitle(const TrackEntry& entry) {
    const media::SoundFile& file = *entry.file;
    if (file.Title().empty()) {
        return IsUtf8(entry.display) ? entry.display : Latin1ToUtf8(entry.display);
    }
    const std::string title = TagTextInUtf8(file, file.Title());
    return file.Artist().empty() ? title : TagTextInUtf8(file, file.Artist()) + " - " + title;
}

int Seconds(const media::SoundFile& file) {
    const std::int64_t milliseconds = file.LengthInMilliseconds();
    if (milliseconds < 0 || milliseconds / 1000 > 0x7FFFFFFF) {
        return -1;
    }
    return static_cast<int>((milliseconds + 500) / 1000);
}

} // namespace

std::string TrackListM3u8(const TrackList& tracks, std::vector<std::string>& unwritable,
                          const std::string& folder) {
    std::vector<media::playlists::M3u8Entry> entries;
    entries.reserve(tracks.size());
    for (const TrackEntry& entry : tracks) {
        if (entry.file) {
            entries.push_back({Seconds(*entry.file), ShownTitle(entry),
                               folder + std::string(BaseName(entry.file->FileName()))});
        }
    }
    return media::playlists::WriteM3u8(entries, unwritable);
}

} // namespace tralvo
