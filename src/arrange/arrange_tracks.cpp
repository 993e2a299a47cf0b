#include "arrange/arrange_tracks.h"

#include "arrange/journal_keeper.h"
#include "arrange/player_order.h"
#include "arrange/two_pass_rename.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <cerrno>

namespace tralvo {

std::optional<ContentId> ContentAt(const std::string& path, FileSystem& fs) {
    ContentId content;
    return fs.ReadContentId(path, content) ? std::optional<ContentId>(content) : std::nullopt;
}

RunJournal NewJournal(PlayerOrder order, const std::string& folder, const TrackList& tracks,
                      FileSystem& fs) {
    const PlayerType type = order.type;
    RunJournal journal;
    journal.folder = folder;
    journal.strategy = type;
    journal.only83FileNames = order.only83FileNames;
    const FolderKey key = KeyOfFolder(folder);
    journal.volume = key.volume;
    journal.belowRoot = key.belowRoot;
    for (const ListedTrack& listed : ListPlayerOrder(folder, order, fs)) {
        journal.before.push_back(listed.display);
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const TrackEntry& track = tracks[i];
        JournalTrack entry{track.display,
                           track.file ? std::string(BaseName(track.file->FileName()))
                                      : track.display,
                           std::nullopt, std::nullopt};
        // Renamed or made anew, a track is known by its bytes; in a directory-order run every
        // entry keeps its name, which is unique in the folder.
        if (type != PlayerType::DirectoryOrder) {
            entry.content = ContentAt(folder + entry.name, fs);
        }
        if (type == PlayerType::CreationTimes) {
            FileTime time = 0;
            if (fs.ReadCreationTime(folder + track.display, time)) {
                entry.creationTime = time;
            }
        }
        journal.arranged.push_back(std::move(entry));
    }
    if (type == PlayerType::CreationTimes && !fs.SetsCreationTimes()) {
        journal.recreated = RecreationPlan(folder, journal.ArrangedDisplays(), fs);
    }
    if (type == PlayerType::FileNames) {
        journal.renames = FileNameRenames(tracks);
    }
    return journal;
}

RunReport ArrangeTracks(PlayerOrder order, const std::string& folder, const TrackList& tracks,
                        ArrangeRun& run, JournalStore& journals, RunPurpose purpose) {
    run.report.outcome = RunOutcome::Finished;
    const bool directoryOrder = order.type == PlayerType::DirectoryOrder;
    FolderLock lock;
    if (!LockFolder(folder, journals, lock, run)) {
        return run.report;
    }
    if (directoryOrder) {
        if (const std::string reserved = ReservedEntryIn(folder, run.fs); !reserved.empty()) {
            run.Fail(RunStep::ReservedEntry, folder + reserved);
            run.report.outcome = RunOutcome::Refused;
            return run.report;
        }
    }
    RunJournal journal = NewJournal(order, folder, tracks, run.fs);
    journal.undoRun = purpose == RunPurpose::Undo;
    if (directoryOrder) {
        journal.others = CollectOtherEntries(folder, tracks, run.fs);
    }
    RunJournaled(
        std::move(journal), journals, run, [&](const RunJournal& plan, ArrangeRun& watched) {
            switch (order.type) {
            case PlayerType::DirectoryOrder:
                ArrangeByDirectoryOrder(folder, tracks, plan.others, watched);
                break;
            case PlayerType::FileNames:
                RenameInTwoPasses(folder, plan.renames, watched);
                break;
            case PlayerType::CreationTimes:
                if (plan.recreated.empty()) {
                    ArrangeByCreationTime(folder, tracks, watched);
                } else {
                    RecreateInOrder(folder, plan.ArrangedDisplays(), plan.recreated, watched);
                }
                break;
            }
        });
    return run.report;
}

bool LockFolder(const std::string& folder, JournalStore& journals, FolderLock& lock,
                ArrangeRun& run) {
    const Status locked = journals.Lock(folder, lock);
    if (!locked && locked.code() == EWOULDBLOCK) {
        run.Fail(RunStep::FolderBusy, folder, locked);
        run.report.outcome = RunOutcome::Refused;
        return false;
    }
    // Where no lock can be taken at all, neither can a journal be written: that refuses the
    // run with its own message.
    return true;
}

std::string ReservedEntryIn(const std::string& folder, FileSystem& fs) {
    std::vector<DirectoryEntry> entries;
    fs.Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries);
    for (const DirectoryEntry& entry : entries) {
        if (IsTempFolderNameInAnyCase(entry.name)) {
            return entry.name;
        }
    }
    return {};
}

} // namespace tralvo
