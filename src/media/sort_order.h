#pragma once

#include "media/sound_file.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tralvo::media {

struct SortKeys {
    SortKey key1 = SortKey::FileName;
    SortKey key2 = SortKey::FileName;
    SortKey key3 = SortKey::FileName;
    // Numbers inside the text keys other than the year, and inside the paths the untagged
    // rule compares, go by their value (CompareNatural); off, every byte compares as it is.
    bool natural = false;
};

// Whether candidate must come before best: the first of the three keys that tells them
// apart decides (the other way round when reverse is set). With the untagged rule, a track
// without a tag also comes before a tagged one, and of two untagged tracks the one with the
// smaller full path comes first, whatever the keys said before: so the comparison is not an
// order, and only the move-based selection sort below gives its results.
bool CompareTracks(SoundFile& candidate, SoundFile& best, SortKeys keys, bool reverse,
                   bool untaggedRule);

// The order of files under the keys: positions into files, as the selection sort that moves
// the best remaining entry to the front gives it. Ties keep their order, in both directions.
// Each key of each file is read and folded once; where the comparison is an order (no
// untagged rule, or every file tagged) a stable sort gives the same result in n log n.
std::vector<std::size_t> SortedOrder(std::span<SoundFile* const> files, SortKeys keys, bool reverse,
                                     bool untaggedRule);

// The moves of a shuffle: draw i gives the position the entry at i moves to (taken out, then
// inserted there), from the 32-bit linear congruential generator seeded with seed.
std::vector<std::size_t> ShuffleMoves(std::size_t count, std::uint32_t seed);

// The seed of a shuffle: the time of day in milliseconds, UTC.
std::uint32_t SeedFromTimeOfDay();

} // namespace tralvo::media
