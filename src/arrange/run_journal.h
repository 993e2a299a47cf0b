#pragma once

#include "arrange/player_type.h"
#include "platform/file_system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// How far the run that wrote a journal came. A journal that is not Done belongs to a run that
// was cut off; a Done one is the record an undo works from.
enum class JournalState {
    Running,    // written before the first change
    SecondPass, // file names: every track that could got its temporary name
    Done,       // the run ended: kept so that it can be undone
    Recovering, // a recovery began to put the folder back, so the run is not to be kept
};

// One track of the arranged list.
struct JournalTrack {
    std::string display;                  // as the list shows it
    std::string name;                     // its file's name before the run
    std::optional<FileTime> creationTime; // before the run, where it could be read
    // What the track's file held before the run, where it could be read: tracks are found
    // by it, not by their names alone, which several tracks may share in the list.
    std::optional<ContentId> content = std::nullopt;
};

// File names: one track's way through its temporary name.
struct JournalRename {
    std::string from;      // the name before the run
    std::string temporary; // "N.qz_temp"
    std::string to;        // the name the run gives it
    // The first pass gave it its temporary name; known from the second pass on.
    bool atTemporary = false;
};

// Creation times where the system cannot set them: one track's way through its copy.
struct JournalRecreate {
    std::string copy;       // "N.qz_copy": the copy in the making
    std::string backup;     // "N.qz_temp": the original while its copy takes its name
    std::uint64_t size = 0; // the track's size before the run
};

// What an arrange run is about to do to a player folder, written before the first
// change, so that a run cut off at any point can be put back together. Names are bare names
// inside the folder.
struct RunJournal {
    std::string folder; // absolute, ending in '/'
    // The volume's identity and the folder below the volume's root (ending in '/'), so that
    // the journal still belongs to the folder when the volume is mounted elsewhere; empty
    // when the volume has no identity that lasts.
    std::string volume;
    std::string belowRoot;
    PlayerType strategy = PlayerType::DirectoryOrder;
    bool only83FileNames = false;
    bool undoRun = false; // the run undoes an earlier one and leaves no record to undo
    JournalState state = JournalState::Running;
    std::vector<std::string> before;    // display strings in the player's order before the run
    std::vector<JournalTrack> arranged; // the tracks in the arranged order
    std::vector<std::string> others;    // directory order: the other entries, in moving order
    std::vector<JournalRename> renames; // file names: one for each arranged track, in order
    // Creation times made by re-creating the tracks: one for each arranged track, in order.
    std::vector<JournalRecreate> recreated;

    PlayerOrder Order() const { return {strategy, only83FileNames}; }
    // The arranged tracks' display strings, in the arranged order.
    std::vector<std::string> ArrangedDisplays() const {
        std::vector<std::string> displays;
        displays.reserve(arranged.size());
        for (const JournalTrack& track : arranged) {
            displays.push_back(track.display);
        }
        return displays;
    }
};

// The journal as text: a version line, then one line per record of TAB-separated fields in
// which backslash, TAB, CR, LF and every byte outside 0x20..0x7E are escaped, then "end".
std::string FormatJournal(const RunJournal& journal);

// The journal the text holds; nothing when it is not one this version wrote completely: a
// truncated or garbled journal must never steer a rename.
std::optional<RunJournal> ParseJournal(std::string_view text);

// The directory-order run's temporary folders: every entry moves out into the first, on into
// the second and back.
inline constexpr const char* FirstTempFolder = "QZ_TEMP1";
inline constexpr const char* SecondTempFolder = "QZ_TEMP2";
// Whether name is the name of one of them in any letter case: a run cannot start beside it.
bool IsTempFolderNameInAnyCase(std::string_view name);

// The file name of the temporary name "N.qz_temp" of index N.
std::string TemporaryName(std::size_t index);
// Whether name has the form of a temporary name: decimal digits, then ".qz_temp" in any case.
bool IsTemporaryName(std::string_view name);
// The file name "N.qz_copy" of the copy that re-creates the track of index N.
std::string CopyName(std::size_t index);
// Whether name has the form of such a copy's name, in any case.
bool IsCopyName(std::string_view name);

} // namespace tralvo
