#pragma once

#include "arrange/track_list.h"
#include "media/sort_order.h"

#include <cstdint>

namespace tralvo {

// The track list's whole-list orderings. The callers mark the list changed.
void SortTrackList(TrackList& tracks, media::SortKeys keys, bool reverse, bool untaggedRule);
void ShuffleTrackList(TrackList& tracks, std::uint32_t seed);

} // namespace tralvo
