#pragma once

#include "arrange/journal_store.h"
#include "arrange/run_journal.h"
#include "arrange/strategies.h"
#include "arrange/track_list.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tralvo {

// An arrange run with its journal: the strategy of order.type rewrites folder
// (ending in '/') so that the player plays tracks in their order, as RunStrategy does; before
// the first change the journal records the folder, the order before the run, the arranged
// order and whatever else a run cut off at any point needs to be put back together, and the
// run ends by keeping it as the record to undo the run by. Refused, with nothing changed, when
// another process runs on the folder, an entry wears a temporary folder's name or the journal
// cannot be written. order.only83FileNames is the setting the order before the run is read with.
// The report is also in run.report, with the failures of any run before on run.
// An undo run is journaled like any other but leaves no record behind.
enum class RunPurpose { Arrange, Undo };
RunReport ArrangeTracks(PlayerOrder order, const std::string& folder, const TrackList& tracks,
                        ArrangeRun& run, JournalStore& journals = UserJournals(),
                        RunPurpose purpose = RunPurpose::Arrange);

// What the track at path holds, for its journal; nothing when it cannot be read.
std::optional<ContentId> ContentAt(const std::string& path, FileSystem& fs);

// Takes folder's lock for a run that changes it; when another process holds it, reports the
// folder busy, the run refused, and gives false.
bool LockFolder(const std::string& folder, JournalStore& journals, FolderLock& lock,
                ArrangeRun& run);

// An entry of folder, in any letter case, by the name of a directory-order run's temporary
// folders; empty when there is none. Such a run cannot start beside it.
std::string ReservedEntryIn(const std::string& folder, FileSystem& fs);

// The journal of a run that is about to arrange tracks in folder: everything but the other
// entries of a directory-order run, which the caller collects.
RunJournal NewJournal(PlayerOrder order, const std::string& folder, const TrackList& tracks,
                      FileSystem& fs);

} // namespace tralvo
