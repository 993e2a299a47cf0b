#pragma once

#include "arrange/journal_store.h"
#include "arrange/loaded_folder.h"
#include "arrange/strategies.h"
#include "jobs/job_outcome.h"

namespace tralvo::jobs {

// The Tralvo button's job: the journaled run that rewrites arranged.folder so that the player
// plays arranged.tracks in their order under arranged.order, then one reload of the folder
// (also when the run was refused, so that a face can show what is there) and the check that
// the player plays the arranged order. The run's failures go to run's observer as they
// happen.
JobOutcome ArrangeFolder(const LoadedFolder& arranged, ArrangeRun& run,
                         JournalStore& journals = UserJournals());
// The same for a face that keeps its folder and its tracks apart.
JobOutcome ArrangeFolder(const std::string& folder, PlayerOrder order, const TrackList& arranged,
                         ArrangeRun& run, JournalStore& journals = UserJournals());

} // namespace tralvo::jobs
