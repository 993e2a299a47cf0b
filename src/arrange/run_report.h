#pragma once

#include "arrange/recovery_report.h"
#include "platform/status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo {

// What a run on a player folder failed at. Unless a step says that nothing changed, the run
// goes on with its next step after it: nothing is rolled back, nothing overwritten.
enum class RunStep {
    FolderBusy,       // another process's run holds the folder; nothing changed (path: folder)
    ReservedEntry,    // an entry wears a temporary folder's name; nothing changed (path: it)
    WriteJournal,     // the journal was not written before the first change; nothing changed
                      // (path: the journal)
    CreateTempFolder, // path: "QZ_TEMP1" or "QZ_TEMP2" in the folder
    MoveToTempFolder, // path: the entry where it was
    MoveBack,         // path: the entry in its temporary folder
    RemoveTempFolder, // path: the temporary folder
    Rename,           // path: the file under the name it kept
    SetCreationTime,  // path: the track
    NoRoomToRecreate, // no copy of the largest track fits; nothing changed (path: that track)
    Recreate,         // path: the track, which stays as it was
    RemoveTempFile,   // path: the spare copy or original left beside its track
    JournalPutBack,   // the journal could not follow the second pass: the folder was put back
                      // (path: the journal)
    Stopped,          // asked to stop, the run put the folder back (path: folder)
    PutBackInPart,    // stopped, but notRestored stayed out of place (path: folder)
    OrderDiffers,     // read back, the folder does not play the arranged order
    UndoNotPossible,  // the folder no longer holds what the last run left (path: folder)
};

struct RunFailure {
    RunStep step;
    std::string path;
    Status status; // what the system said, where a call of it failed
    // NoRoomToRecreate: the room a copy of the track takes and the room there is, in bytes.
    std::uint64_t needed = 0;
    std::uint64_t available = 0;
    // PutBackInPart: what stays where the stopped run left it.
    std::vector<NotRestored> notRestored{};
};

enum class RunOutcome {
    Refused,  // nothing was changed: the folder busy, an entry in the way, no journal
    Finished, // every step was tried (the failures say which failed)
    Stopped,  // stopped before its end; the failures say what became of the folder
};

// What a run gives back: its failures in the order they happened, and how it ended.
struct RunReport {
    std::vector<RunFailure> failures;
    RunOutcome outcome = RunOutcome::Finished;

    bool Changed() const { return outcome != RunOutcome::Refused; }
};

// Is told of each failure as it happens, while the run waits: a window shows it in a box, the
// command-line tool prints it.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void Failed(const RunFailure& failure) = 0;
};

// Where a run shows how far it has come: the progress bar that stands in for the Tralvo
// button while the folder is rewritten.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
};

} // namespace tralvo
