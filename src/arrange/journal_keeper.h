#pragma once

#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange/strategies.h"

#include <functional>

namespace tralvo {

// A journaled run: the journal written before the first change (when it cannot be, the run
// is refused and this gives false), steps carrying out its plan on a run of their own, their
// failures taken into run, and the run ended. The journal is brought up to date when the
// file-name strategy says that its second pass starts; where that cannot be written, or a
// stop is asked for, the folder is put back as a recovery would put it back and the user told
// what became of it. Otherwise a run that changed something puts the folder's changes on the
// disk and leaves its journal as the record to undo it by; an undo, or a run that changed
// nothing, leaves none.
bool RunJournaled(RunJournal journal, JournalStore& store, ArrangeRun& run,
                  const std::function<void(const RunJournal& plan, ArrangeRun& watched)>& steps);

} // namespace tralvo
