#pragma once

#include "arrange/player_type.h"
#include "arrange/run_journal.h"
#include "arrange/run_report.h"
#include "arrange/track_list.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/stop_signals.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tralvo {

// What a strategy works with. Each failure goes to the observer and into the report, and the
// run goes on with the next step; nothing is rolled back, nothing is ever overwritten, and
// every file stays in the folder or one of its temporary folders.
struct ArrangeRun {
    FileSystem& fs;
    RunObserver& observer;
    RunProgress& progress;
    Clock& clock = SystemClock();
    // Whether the run is to make no further change after the step it is at: a signal asked it
    // to stop, or its journal can no longer keep up. The strategies ask between steps.
    std::function<bool()> stopping = RunStopRequested;
    // Told by a two-pass rename before the first track leaves its temporary name which
    // renames of its plan gave their tracks their temporary names: a journaled run writes
    // that down first. On a failure the pass does not start, and the run's journal, which
    // then puts the folder back, reports it.
    std::function<Status(const std::vector<bool>& atTemporary)> secondPassStarts =
        [](const std::vector<bool>&) { return Status::Ok(); };
    RunReport report{};

    void Fail(RunFailure failure) {
        observer.Failed(failure);
        report.failures.push_back(std::move(failure));
    }
    void Fail(RunStep step, std::string path, Status status = {}) {
        Fail(RunFailure{step, std::move(path), std::move(status)});
    }
    // A run on the watched file system of this one, reporting to the same observer; its
    // failures come back by TakeFailures.
    ArrangeRun Watched(FileSystem& watchedFs, std::function<bool()> stop,
                       std::function<Status(const std::vector<bool>&)> secondPass) {
        return ArrangeRun{watchedFs, observer,        progress,
                          clock,     std::move(stop), std::move(secondPass)};
    }
    void TakeFailures(ArrangeRun& other) {
        for (RunFailure& failure : other.report.failures) {
            report.failures.push_back(std::move(failure));
        }
        other.report.failures.clear();
    }
};

// Players that play the directory entries' order: every entry moves out into "QZ_TEMP1",
// on into "QZ_TEMP2" and back, the other entries first, then the tracks in list order. Where
// "QZ_TEMP1" already stands first in the folder, the entries come back from it directly.
void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks, ArrangeRun& run);
// The same with the other entries collected beforehand, so that they can be journaled.
void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks,
                             const std::vector<std::string>& others, ArrangeRun& run);
// The entries a directory-order run moves besides the tracks, in the listing's order:
// subfolders and hidden files included, the folder holding the running program left out.
std::vector<std::string> CollectOtherEntries(const std::string& folder, const TrackList& tracks,
                                             FileSystem& fs);
// Players that sort by file name: every track gets an order prefix, through temporary names.
void ArrangeByFileName(const std::string& folder, const TrackList& tracks, ArrangeRun& run);
// Players that sort by creation time: the times rise one day apart in list order, the last
// track keeping its own. Where the system cannot set creation times, the tracks are made anew
// in list order instead (RecreateInOrder).
void ArrangeByCreationTime(const std::string& folder, const TrackList& tracks, ArrangeRun& run);

// Creation times in the order of names (files of folder) where the system cannot set them but
// stamps each new file with the time it is made: the tracks from the first one out of order
// on are made anew one after the other, each a complete copy that is on the disk before it
// takes its original's name (plan[i].copy while it is made, the original plan[i].backup until
// the copy has its name), each in a later step of the clock than the one before. Refused before
// anything changes when the volume has no room for a copy of the largest of them.
void RecreateInOrder(const std::string& folder, const std::vector<std::string>& names,
                     const std::vector<JournalRecreate>& plan, ArrangeRun& run);
// Each track's way through its copy ("N.qz_copy", "N.qz_temp") when RecreateInOrder makes the
// tracks of names anew: the journal records it and the run carries it out.
std::vector<JournalRecreate> RecreationPlan(const std::string& folder,
                                            const std::vector<std::string>& names, FileSystem& fs);
// How many tracks of names RecreateInOrder would make anew, and so wait for.
std::size_t TracksToRecreate(const std::string& folder, const std::vector<std::string>& names,
                             FileSystem& fs, Clock& clock);
// The step of the clock in which the volume of folder stamps creation times as distinct: FAT
// and exFAT keep whole seconds only in 2-second steps, which is all that some players read.
FileTime CreationTimeStep(const std::string& folder, FileSystem& fs);

// A copy of from made at to in a later step of the clock than previous, when there is one:
// made once that step has come, and made again, a few times at most, when a coarse clock
// stamped it too early all the same.
struct SteppedCopy {
    Status copied;      // the copy's failure
    Status removed;     // the failure to remove a copy stamped too early
    FileTime stamp = 0; // the copy's creation time
};
SteppedCopy CopyInLaterStep(const std::string& from, const std::string& to,
                            std::optional<FileTime> previous, FileTime step, FileSystem& fs,
                            Clock& clock);

// The strategy of the player type. folder ends in '/'.
void RunStrategy(PlayerType type, const std::string& folder, const TrackList& tracks,
                 ArrangeRun& run);

} // namespace tralvo
