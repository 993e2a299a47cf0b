#pragma once

#include "arrange/journal_store.h"
#include "arrange/strategies.h"

#include <string>
#include <vector>

namespace tralvo {

enum class UndoOutcome {
    Undone,        // the folder has its order before the last run again
    Failed,        // a step failed or the order read back is not the old one (run.report)
    NothingToUndo, // no finished run is recorded for the folder
    NotPossible,   // the folder no longer holds what the record says
    JournalError,  // the undo's own journal could not be written, or another process is
                   // changing the folder; nothing changed
};

// Whether folder has the record of a finished run that an undo can work from.
bool CanUndo(const std::string& folder, JournalStore& journals = UserJournals());

// The order an undo of folder's last run would make the tracks anew in, when that run gave
// them creation times by making them anew; empty otherwise.
std::vector<std::string> UndoRecreationOrder(const std::string& folder,
                                             JournalStore& journals = UserJournals());

// What taking a run back did, for the job that reads the folder back and checks it.
struct TakenBack {
    UndoOutcome outcome = UndoOutcome::NothingToUndo;
    PlayerOrder order;               // the order the run taken back arranged under
    std::vector<std::string> before; // display strings in that order before that run
};

// Arranges folder back into its order before the last run there, with that run's strategy,
// from the record the run left: the directory order by a directory-order run in the old
// order; file names by giving every track its old name back, through the temporary names;
// creation times by writing back the old ones. The undo is journaled like a run, so that it
// too can be put back together when cut off, and leaves no record behind. The outcome is
// Undone when no failure was reported on the way; jobs::UndoLastRun checks the order read
// back.
TakenBack TakeBackLastRun(const std::string& folder, ArrangeRun& run,
                          JournalStore& journals = UserJournals());

} // namespace tralvo
