#pragma once

#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange/strategies.h"

#include <functional>
#include <memory>
#include <vector>

namespace tralvo {

// Keeps the journal of one run in step with the folder: written before the first change,
// brought up to date when the file-name strategy says that its second pass starts, and at
// the end kept as the record an undo works from, or removed.
class JournalKeeper {
public:
    JournalKeeper(RunJournal journal, JournalStore& store, ArrangeRun& run);
    ~JournalKeeper();
    JournalKeeper(const JournalKeeper&) = delete;
    JournalKeeper& operator=(const JournalKeeper&) = delete;

    // Writes the journal; when it cannot, reports the failure, the run refused, and gives
    // false: the run must not start.
    bool Start();
    // The run's file system: the run's own, its changes counted.
    FileSystem& fs();
    // The run the strategy carries the journal's plan out on: the run's own on fs(), asking
    // StopNow between steps and telling the keeper when its second pass starts.
    ArrangeRun Watched();
    // A run that changed something puts the folder's changes on the disk and leaves its
    // journal as the record to undo it by; an undo, or a run that changed nothing, leaves
    // none.
    void Finish();
    // Whether the run must make no further change: a signal asked it to stop, or its journal
    // could not keep up.
    bool Stopping() const;
    // The same, asked by the run at a point where it stops if so: End then puts it back.
    bool StopNow();
    // Ends the run: one that stopped early is put back as a recovery would put it back, and
    // the user told what became of the folder; any other ends as Finish says.
    void End();

    const RunJournal& journal() const { return journal_; }

private:
    friend class JournalingFileSystem;
    // Records which renames of the plan took their temporary names and that the second pass
    // starts; when that cannot be written the run stops, and End puts the folder back.
    Status EnterSecondPass(const std::vector<bool>& atTemporary);
    Status Write();
    // Whether the run left an entry in a temporary folder or under a temporary name.
    bool LeftOutOfPlace();

    RunJournal journal_;
    JournalStore& store_;
    ArrangeRun& run_;
    std::unique_ptr<FileSystem> fs_;
    int changes_ = 0;
    bool secondPassRefused_ = false;
    Status secondPassFailure_;
    bool stopped_ = false;
};

// A journaled run: the journal written before the first change (when it cannot be, the run
// is refused and this gives false), steps carrying out its plan on the keeper's run, their
// failures taken into run, and the run ended as End says.
bool RunJournaled(RunJournal journal, JournalStore& store, ArrangeRun& run,
                  const std::function<void(const RunJournal& plan, ArrangeRun& watched)>& steps);

} // namespace tralvo
