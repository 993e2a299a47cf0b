#pragma once

#include "arrange/run_journal.h"
#include "arrange/strategies.h"
#include "arrange/track_list.h"

#include <string>
#include <vector>

namespace tralvo {

// The file-name strategy's plan for tracks in list order: each track from its name through
// its temporary name "N.qz_temp" to its order prefix and the name the list shows. The
// journal records this plan and the run carries it out, so the names are made here alone.
std::vector<JournalRename> FileNameRenames(const TrackList& tracks);

// What a stop asked for during the second pass does.
enum class SecondPassStop {
    WaitsForItsEnd, // a run: the pass is nearer to its end than the folder to its old state
    EndsItAtOnce,   // an undo: its journal puts the folder back where it stopped
};

// Carries out renames (bare names in folder, which ends in '/') in two passes: every entry
// to its temporary name, then on to its new name, so that no new name is taken by an old one.
void RenameInTwoPasses(const std::string& folder, const std::vector<JournalRename>& renames,
                       ArrangeRun& run, SecondPassStop stop = SecondPassStop::WaitsForItsEnd);

} // namespace tralvo
