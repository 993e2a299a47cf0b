#pragma once

#include "arrange/journal_store.h"
#include "arrange/recovery_report.h"
#include "platform/file_system.h"

#include <string>
#include <vector>

namespace tralvo {

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

// Whom the recovery of a folder asks first and tells afterwards.
class RecoveryDialogue {
public:
    virtual ~RecoveryDialogue() = default;
    // Whether folder, which holds what an interrupted run left, is to be put back now.
    virtual bool RecoverNow(const std::string& folder) = 0;
    virtual void Recovered(const RecoveryReport& report) = 0;
};

// What the track list does when it loads a folder: when the folder needs recovery, asks the
// dialogue and, when it agrees, recovers the folder and tells it the report. True when it
// recovered.
bool OfferRecovery(const std::string& folder, FileSystem& fs, RecoveryDialogue& dialogue,
                   JournalStore& journals = UserJournals());

} // namespace tralvo
