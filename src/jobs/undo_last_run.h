#pragma once

#include "arrange/journal_store.h"
#include "arrange/loaded_folder.h"
#include "arrange/strategies.h"
#include "arrange/undo.h"
#include "jobs/job_outcome.h"

#include <string>

namespace tralvo::jobs {

struct UndoJobOutcome {
    // Undone when no step failed and the folder plays its order before the last run again.
    UndoOutcome outcome = UndoOutcome::NothingToUndo;
    JobOutcome job;
};

// Ctrl+Z's job: folder's last run taken back (TakeBackLastRun), then, when that reached the
// folder, one reload under shown, the order the face shows the folder in, and the check that
// the player plays the order before that run under the order it was arranged under.
UndoJobOutcome UndoLastRun(const std::string& folder, PlayerOrder shown, ArrangeRun& run,
                           JournalStore& journals = UserJournals());

} // namespace tralvo::jobs
