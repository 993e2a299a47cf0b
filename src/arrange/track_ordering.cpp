#include "arrange/track_ordering.h"

namespace tralvo {

void SortTrackList(TrackList& tracks, media::SortKeys keys, bool reverse, bool untaggedRule) {
    std::vector<media::SoundFile*> files;
    files.reserve(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        files.push_back(tracks[i].file.get());
    }
    tracks.Reorder(media::SortedOrder(files, keys, reverse, untaggedRule));
}

void ShuffleTrackList(TrackList& tracks, std::uint32_t seed) {
    const std::vector<std::size_t> moves = media::ShuffleMoves(tracks.size(), seed);
    for (std::size_t i = 0; i < moves.size(); ++i) {
        tracks.Move(i, moves[i]);
    }
}

} // namespace tralvo
