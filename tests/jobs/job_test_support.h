#pragma once

#include "journal_test_support.h"
#include "support/forwarding_file_system.h"

#include <string>
#include <vector>

namespace tralvo::test {

// Counts how often a folder's files are listed, the way loading the track list lists them:
// a job that reads its folder back once lists it once more than its run does.
class ListingCounter : public ForwardingFileSystem {
public:
    explicit ListingCounter(FileSystem& inner) : ForwardingFileSystem(inner) {}

    Status Enumerate(const std::string& folder, EnumerateFilter filter, bool includeDotEntries,
                     std::vector<DirectoryEntry>& entries) override {
        if (filter == EnumerateFilter::FilesOnly) {
            ++listings;
        }
        return ForwardingFileSystem::Enumerate(folder, filter, includeDotEntries, entries);
    }

    int listings = 0;
};

inline std::vector<std::string> Displays(const TrackList& tracks) {
    std::vector<std::string> displays;
    for (const TrackEntry& entry : tracks) {
        displays.push_back(entry.display);
    }
    return displays;
}

} // namespace tralvo::test
