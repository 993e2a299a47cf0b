#pragma once

#include "arrange/journal_store.h"
#include "platform/file_system.h"

#include <string>
#include <vector>

namespace tralvo {

class Messages;

// One thing the recovery did; names are relative to the player folder
// ("QZ_TEMP2/b.mp3", "7.qz_temp").
struct RecoveryStep {
    enum class Kind {
        Moved,         // out of a temporary folder, from -> to
        Renamed,       // a temporary name back to a track's name, from -> to
        TimeRestored,  // from: a track whose creation time is the one before the run again
        FolderRemoved, // from: an emptied temporary folder
        FileRemoved,   // from: a spare copy of a track that is in its place
    };
    Kind kind;
    std::string from;
    std::string to;
};

struct NotRestored {
    enum class Reason {
        Missing,            // the journal names it, but it is nowhere
        NameTaken,          // its own name is taken by another entry
        CannotMove,         // the rename failed
        CannotSetTime,      // its creation time could not be written back
        UnknownKind,        // a temporary file that is no MP3, Ogg, WMA or WAV file
        NoTitle,            // a temporary file whose tag gives no title to name it by
        TitleNotUnique,     // several temporary files have the same title
        CannotRemoveFolder, // an empty temporary folder that could not be removed
        CannotRemoveFile,   // a spare copy of a track that could not be removed
        NotIdentified,      // a copy or original in the making whose size is not the track's
        IncompleteCopy,     // a copy without the journal that no file of the folder covers
        Busy,               // another process is changing the folder: nothing was touched
    };
    std::string name; // where it still is, relative to the folder
    Reason reason;
};

struct RecoveryReport {
    bool usedJournal = false;
    std::vector<RecoveryStep> steps;
    std::vector<NotRestored> notRestored;
    bool complete() const { return notRestored.empty(); }
};

// Whether folder holds what an interrupted run leaves behind: a folder "QZ_TEMP1" or
// "QZ_TEMP2", a file "N.qz_temp" or "N.qz_copy", or the journal of a run that did not end.
// Never while another process's run holds the folder: that run is not interrupted.
bool NeedsRecovery(const std::string& folder, FileSystem& fs,
                   JournalStore& journals = UserJournals());

// Puts folder back together. With the journal of the interrupted run, every entry returns to
// its name and place:
// - directory order: every entry the run moved goes back from "QZ_TEMP2" or "QZ_TEMP1" into the
//   folder, the other entries first, then the tracks in the arranged order; their place is the
//   folder itself, and a run cut off while it moved the entries back ends in the arranged
//   order, one cut off earlier in part the old and in part the new order;
// - file names: every track gets back the name it had before the run, from its temporary name
//   or from its new name (through its temporary name, so that tracks that swap names never
//   meet); a run whose renames had all been done stays done;
// - creation times: every track gets back the creation time it had before the run; where the
//   run made the tracks anew, every track is either as it was or its complete copy, under its
//   own name, and the spare copies and originals ("N.qz_copy", "N.qz_temp") are removed once
//   the track of the same size stands under its name.
// Without a journal (the run happened elsewhere), the contents of the temporary folders move
// back into the folder, each "N.qz_temp" file is named "<Title>.<ext>" after its tag and the
// kind its content shows, where that name is unique and free, and an "N.qz_copy" file is
// removed when another file of the folder holds its bytes (or begins with them). Nothing is ever
// overwritten, a temporary folder is removed only when empty, and whatever stays out of place is
// reported. A complete recovery removes the journal; one that changed nothing keeps it as the
// record of a finished run.
RecoveryReport RecoverFolder(const std::string& folder, FileSystem& fs,
                             JournalStore& journals = UserJournals());

// "RecoverDone", or the error box "RecoverIncomplete" naming what stays out of place, or
// "FolderBusy" when another process was changing the folder.
void ShowRecoveryReport(const RecoveryReport& report, Messages& messages,
                        const std::string& parent);

// What the track list does when it loads a folder: when the folder needs recovery, asks
// ("RecoverFolder") and on Yes recovers it and shows the report. True when it recovered.
bool OfferRecovery(const std::string& folder, FileSystem& fs, Messages& messages,
                   const std::string& parent, JournalStore& journals = UserJournals());

} // namespace tralvo
