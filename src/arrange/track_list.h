#pragma once

#include "media/sound_file.h"

#include <memory>
#include <string>
#include <vector>

namespace tralvo {

// One item of the track list: the name it shows (under file-name order without its order
// prefix) and the record of its file, which the item owns.
struct TrackEntry {
    std::string display;
    std::unique_ptr<media::SoundFile> file;
};

// The tracks of the player folder in the order the list shows them.
class TrackList {
public:
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const TrackEntry& operator[](std::size_t index) const { return entries_[index]; }
    TrackEntry& operator[](std::size_t index) { return entries_[index]; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

    void Append(TrackEntry entry) { entries_.push_back(std::move(entry)); }
    void Clear() { entries_.clear(); }
    void RemoveAt(std::size_t index);
    // Takes the entry out and puts it back so that it ends at index to.
    void Move(std::size_t from, std::size_t to);
    // Puts the entries in the order given by positions (order[i] is the entry to stand at i).
    void Reorder(const std::vector<std::size_t>& order);

    // Every display string followed by CR LF, in list order: what a run compares before and
    // after.
    std::string Text() const;

private:
    std::vector<TrackEntry> entries_;
};

} // namespace tralvo
