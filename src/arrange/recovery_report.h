#pragma once

#include <string>
#include <vector>

namespace tralvo {

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

} // namespace tralvo
