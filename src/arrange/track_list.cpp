#include "arrange/track_list.h"

namespace tralvo {

void TrackList::RemoveAt(std::size_t index) {
    if (index < entries_.size()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void TrackList::Move(std::size_t from, std::size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to) {
        return;
    }
    TrackEntry entry = std::move(entries_[from]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
}

void TrackList::Reorder(const std::vector<std::size_t>& order) {
    std::vector<TrackEntry> reordered;
    reordered.reserve(entries_.size());
    for (const std::size_t index : order) {
        reordered.push_back(std::move(entries_[index]));
    }
    entries_ = std::move(reordered);
}

std::string TrackList::Text() const {
    std::string text;
    for (const TrackEntry& entry : entries_) {
        text += entry.display;
        text += "\r\n";
    }
    return text;
}

} // namespace tralvo
