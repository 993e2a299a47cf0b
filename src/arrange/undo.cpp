#include "arrange/undo.h"

#include "arrange/arrange_tracks.h"
#include "arrange/journal_keeper.h"
#include "arrange/player_order.h"
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/two_pass_rename.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace tralvo {

namespace {

// The record of folder's last finished run: fails as ReadJournalOf does, and with ENOENT
// where the journal is not such a record.
Status ReadUndoRecord(const std::string& folder, JournalStore& journals, RunJournal& record) {
    if (Status read = ReadJournalOf(folder, journals, record); !read) {
        return read;
    }
    if (record.state != JournalState::Done || record.undoRun) {
        return Status::Failure(ENOENT, journals.PathOf(folder) + ": no finished run to undo");
    }
    return Status::Ok();
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class Undo {
public:
    Undo(const std::string& folder, ArrangeRun& run, JournalStore& journals)
        : folder_(FolderWithSlash(folder)), run_(run), journals_(journals),
          failuresBefore_(run.report.failures.size()) {}

    TakenBack Run() {
        TakenBack taken;
        taken.outcome = TakeBack();
        taken.order = record_.Order();
        taken.before = record_.before;
        return taken;
    }

private:
    UndoOutcome TakeBack() {
        FolderLock lock;
        if (!LockFolder(folder_, journals_, lock, run_)) {
            return UndoOutcome::JournalError;
        }
        RunJournal record;
        if (const Status read = ReadUndoRecord(folder_, journals_, record); !read) {
            return read.code() == GarbledJournalCode ? NotPossible() : UndoOutcome::NothingToUndo;
        }
        record_ = std::move(record);
        if (!FolderMatchesRecord()) {
            return NotPossible();
        }
        bool started = false;
        switch (record_.strategy) {
        case PlayerType::DirectoryOrder:
            started = UndoDirectoryOrder();
            break;
        case PlayerType::FileNames:
            started = UndoFileNames();
            break;
        case PlayerType::CreationTimes:
            started = UndoCreationTimes();
            break;
        }
        if (!started) {
            return UndoOutcome::JournalError;
        }
        return run_.report.failures.size() == failuresBefore_ ? UndoOutcome::Undone
                                                              : UndoOutcome::Failed;
    }

    UndoOutcome NotPossible() {
        run_.Fail(RunStep::UndoNotPossible, folder_);
        return UndoOutcome::NotPossible;
    }

    // The tracks the run left, by the names it left them under, and nothing half done.
    bool FolderMatchesRecord() {
        std::vector<std::string> now;
        for (const ListedTrack& track : ListPlayerOrder(folder_, record_.Order(), run_.fs)) {
            now.push_back(track.name);
        }
        std::vector<std::string> left;
        for (std::size_t i = 0; i < record_.arranged.size(); ++i) {
            const JournalTrack& track = record_.arranged[i];
            if (record_.strategy == PlayerType::CreationTimes && record_.recreated.empty() &&
                !track.creationTime) {
                return false; // the old time is not known, so it cannot come back exactly
            }
            left.push_back(record_.strategy == PlayerType::FileNames ? record_.renames[i].to
                                                                     : track.name);
        }
        // Where names are what the list shows, the old order must name the same tracks.
        const bool sameTracksBefore =
            record_.strategy == PlayerType::FileNames || Sorted(record_.before) == Sorted(left);
        return sameTracksBefore && Sorted(now) == Sorted(left) &&
               !NeedsRecovery(folder_, run_.fs, journals_);
    }

    bool UndoDirectoryOrder() {
        TrackList tracks = LoadTracks(folder_, {PlayerType::DirectoryOrder}, run_.fs);
        std::vector<std::size_t> order;
        std::vector<bool> used(tracks.size(), false);
        for (const std::string& name : record_.before) {
            for (std::size_t i = 0; i < tracks.size(); ++i) {
                if (!used[i] && tracks[i].display == name) {
                    used[i] = true;
                    order.push_back(i);
                    break;
                }
            }
        }
        tracks.Reorder(order);
        return ArrangeTracks({PlayerType::DirectoryOrder, record_.only83FileNames}, folder_, tracks,
                             run_, journals_, RunPurpose::Undo)
            .Changed();
    }

    // The undo's own journal: the same tracks, on their way back.
    RunJournal UndoJournal() const {
        RunJournal journal;
        journal.folder = folder_;
        journal.strategy = record_.strategy;
        journal.only83FileNames = record_.only83FileNames;
        journal.undoRun = true;
        const FolderKey key = KeyOfFolder(folder_);
        journal.volume = key.volume;
        journal.belowRoot = key.belowRoot;
        for (const ListedTrack& track : ListPlayerOrder(folder_, record_.Order(), run_.fs)) {
            journal.before.push_back(track.display);
        }
        return journal;
    }

    bool UndoFileNames() {
        RunJournal journal = UndoJournal();
        for (std::size_t i = 0; i < record_.renames.size(); ++i) {
            const JournalRename& done = record_.renames[i];
            journal.arranged.push_back({record_.arranged[i].display, done.to, std::nullopt,
                                        ContentAt(folder_ + done.to, run_.fs)});
            journal.renames.push_back({done.to, TemporaryName(i), done.from});
        }
        // The file-name strategy's two passes, towards the old names.
        return RunJournaled(
            std::move(journal), journals_, run_, [&](const RunJournal& plan, ArrangeRun& watched) {
                RenameInTwoPasses(folder_, plan.renames, watched, SecondPassStop::EndsItAtOnce);
            });
    }

    // Where times cannot be set, the old order comes back as the run made it: the tracks
    // made anew, in the old order.
    bool UndoByRecreation() {
        RunJournal journal = UndoJournal();
        std::vector<std::string> names;
        for (const std::string& name : record_.before) {
            FileTime now = 0;
            const bool known = static_cast<bool>(run_.fs.ReadCreationTime(folder_ + name, now));
            journal.arranged.push_back({name, name,
                                        known ? std::optional<FileTime>(now) : std::nullopt,
                                        ContentAt(folder_ + name, run_.fs)});
            names.push_back(name);
        }
        journal.recreated = RecreationPlan(folder_, names, run_.fs);
        return RunJournaled(std::move(journal), journals_, run_,
                            [&](const RunJournal& plan, ArrangeRun& watched) {
                                RecreateInOrder(folder_, names, plan.recreated, watched);
                            });
    }

    bool UndoCreationTimes() {
        if (!run_.fs.SetsCreationTimes()) {
            return UndoByRecreation();
        }
        RunJournal journal = UndoJournal();
        for (const JournalTrack& track : record_.arranged) {
            FileTime now = 0;
            const bool known =
                static_cast<bool>(run_.fs.ReadCreationTime(folder_ + track.name, now));
            journal.arranged.push_back({track.display, track.name,
                                        known ? std::optional<FileTime>(now) : std::nullopt,
                                        std::nullopt});
        }
        return RunJournaled(
            std::move(journal), journals_, run_, [&](const RunJournal&, ArrangeRun& watched) {
                watched.progress.SetMaximum(static_cast<int>(record_.arranged.size()));
                int handled = 0;
                for (const JournalTrack& track : record_.arranged) {
                    if (watched.stopping()) {
                        break;
                    }
                    const std::string path = folder_ + track.name;
                    if (Status status = watched.fs.WriteCreationTime(path, *track.creationTime);
                        !status) {
                        watched.Fail(RunStep::SetCreationTime, path, std::move(status));
                    }
                    watched.progress.SetPosition(++handled);
                }
            });
    }

    const std::string folder_;
    ArrangeRun& run_;
    JournalStore& journals_;
    const std::size_t failuresBefore_;
    RunJournal record_;
};

} // namespace

bool CanUndo(const std::string& folder, JournalStore& journals) {
    RunJournal record;
    return ReadUndoRecord(FolderWithSlash(folder), journals, record).ok();
}

std::vector<std::string> UndoRecreationOrder(const std::string& folder, JournalStore& journals) {
    RunJournal record;
    const bool found = ReadUndoRecord(FolderWithSlash(folder), journals, record).ok();
    return found && !record.recreated.empty() ? record.before : std::vector<std::string>{};
}

TakenBack TakeBackLastRun(const std::string& folder, ArrangeRun& run, JournalStore& journals) {
    return Undo(folder, run, journals).Run();
}

} // namespace tralvo
