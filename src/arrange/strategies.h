#pragma once

#include "arrange/track_list.h"
#include "platform/file_system.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

class Messages;

// Where a run shows how far it has come: the progress bar that stands in for the Tralvo
// button while the folder is rewritten.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
};

// What a strategy works with. Each failure is shown in an error box owned by the window named
// parent, and the run goes on with the next step; nothing is rolled back, nothing is ever
// overwritten, and every file stays in the folder or one of its temporary folders.
struct ArrangeRun {
    FileSystem& fs;
    Messages& messages;
    RunProgress& progress;
    std::string parent;
};

// Players that play the directory entries' order: every entry moves out into "QZ_TEMP1",
// on into "QZ_TEMP2" and back, the other entries first, then the tracks in list order. Where
// "QZ_TEMP1" already stands first in the folder, the entries come back from it directly.
void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks, ArrangeRun& run);
// The same with the other entries collected beforehand, so that they can be journaled.
void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks,
                             const std::vector<std::string>& others, ArrangeRun& run);
// The entries a directory-order run moves besides the tracks, in the listing's order:
// subfolders and hidden files included, the folder holding the running program left out.
std::vector<std::string> CollectOtherEntries(const std::string& folder, const TrackList& tracks,
                                             FileSystem& fs);
// Players that sort by file name: every track gets an order prefix, through temporary names.
void ArrangeByFileName(const std::string& folder, const TrackList& tracks, ArrangeRun& run);
// Players that sort by creation time: the times rise one day apart in list order, the last
// track keeping its own.
void ArrangeByCreationTime(const std::string& folder, const TrackList& tracks, ArrangeRun& run);

// The strategy of the player type (0, 1, 2); another type runs nothing. folder ends in '/'.
void RunStrategy(std::uint8_t playerType, const std::string& folder, const TrackList& tracks,
                 ArrangeRun& run);

} // namespace tralvo
