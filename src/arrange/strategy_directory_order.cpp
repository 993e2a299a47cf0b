#include "arrange/run_journal.h"
#include "arrange/strategies.h"
#include "platform/mount_table.h"
#include "platform/text.h"

#include <unordered_set>

namespace tralvo {

namespace {

class DirectoryOrderRun {
public:
    DirectoryOrderRun(const std::string& folder, const TrackList& tracks,
                      const std::vector<std::string>& others, ArrangeRun& run)
        : folder_(folder), tracks_(tracks), others_(others), run_(run),
          first_(folder + FirstTempFolder + "/"), second_(folder + SecondTempFolder + "/"),
          count_(static_cast<int>(tracks.size())) {}

    void Run() {
        run_.progress.SetMaximum(3 * count_);
        if (Status status = run_.fs.CreateFolder(folder_ + FirstTempFolder); !status) {
            run_.Fail(RunStep::CreateTempFolder, folder_ + FirstTempFolder, std::move(status));
            return;
        }
        if (!MoveAll(folder_, first_, RunStep::MoveToTempFolder, 0)) {
            return;
        }
        // Each phase reaches the disk whole. On FAT a moved file's size and first cluster stay
        // in its record until that is written back, and the kernel writes changes back of its
        // own accord only once they are half a minute old: so a long run cut off by a power
        // failure leaves the state after a phase, never an entry without its data.
        run_.fs.Flush(folder_);
        if (Status status = run_.fs.CreateFolder(folder_ + SecondTempFolder); !status) {
            run_.Fail(RunStep::CreateTempFolder, folder_ + SecondTempFolder, std::move(status));
            MoveAll(first_, folder_, RunStep::MoveBack, 2 * count_);
            RemoveTempFolder(FirstTempFolder);
            return;
        }
        if (FirstStandsFirst() && run_.fs.RemoveFolder(folder_ + SecondTempFolder)) {
            // Already where the entries must come back from: the move across is not needed.
            run_.progress.SetPosition(2 * count_);
            if (MoveAll(first_, folder_, RunStep::MoveBack, 2 * count_)) {
                RemoveTempFolder(FirstTempFolder);
            }
            return;
        }
        if (!MoveAll(first_, second_, RunStep::MoveToTempFolder, count_)) {
            return;
        }
        RemoveTempFolder(FirstTempFolder);
        run_.fs.Flush(folder_);
        if (MoveAll(second_, folder_, RunStep::MoveBack, 2 * count_)) {
            RemoveTempFolder(SecondTempFolder);
        }
    }

private:
    // FAT puts a new entry into the first run of free slots that is big enough, so entries
    // come back in the order they are moved only from a temporary folder with nothing but the
    // fixed entries before it and free slots after it. "QZ_TEMP2" went into the first free
    // slot: when "QZ_TEMP1" is listed before it, no free slot lies before "QZ_TEMP1" (a run
    // ends with a free slot right after ".." where "QZ_TEMP2" stood, and the next run's
    // "QZ_TEMP1" drops into it). Moving back through "QZ_TEMP2" then would leave a hole in
    // front that the first short name moved back falls into.
    bool FirstStandsFirst() {
        std::vector<DirectoryEntry> entries;
        if (!run_.fs.Enumerate(folder_, EnumerateFilter::FilesAndFolders, false, entries)) {
            return false;
        }
        for (const DirectoryEntry& entry : entries) {
            // Some mount options show short names in lower case.
            if (IsTempFolderNameInAnyCase(entry.name)) {
                return EqualsIgnoringCase(entry.name, FirstTempFolder);
            }
        }
        return false;
    }

    // False when the run was asked to stop on the way: the recovery after it puts back what
    // is in a temporary folder, which on the way back is the end of the run as well.
    bool MoveAll(const std::string& from, const std::string& to, RunStep step, int progressBase) {
        for (const std::string& name : others_) {
            if (run_.stopping()) {
                return false;
            }
            Move(from, to, name, step);
        }
        for (int i = 0; i < count_; ++i) {
            if (run_.stopping()) {
                return false;
            }
            Move(from, to, tracks_[static_cast<std::size_t>(i)].display, step);
            run_.progress.SetPosition(progressBase + i + 1);
        }
        return true;
    }

    void Move(const std::string& from, const std::string& to, const std::string& name,
              RunStep step) {
        if (Status status = run_.fs.Rename(from + name, to + name); !status) {
            run_.Fail(step, from + name, std::move(status));
        }
    }

    void RemoveTempFolder(const char* name) {
        if (Status status = run_.fs.RemoveFolder(folder_ + name); !status) {
            run_.Fail(RunStep::RemoveTempFolder, folder_ + name, std::move(status));
        }
    }

    const std::string& folder_;
    const TrackList& tracks_;
    const std::vector<std::string>& others_;
    ArrangeRun& run_;
    const std::string first_;
    const std::string second_;
    const int count_;
};

} // namespace

std::vector<std::string> CollectOtherEntries(const std::string& folder, const TrackList& tracks,
                                             FileSystem& fs) {
    std::vector<std::string> others;
    std::vector<DirectoryEntry> entries;
    if (!fs.Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries)) {
        return others;
    }
    const std::string program = ToLowerAscii(fs.ProgramPath());
    std::unordered_set<std::string> trackNames;
    trackNames.reserve(tracks.size());
    for (const TrackEntry& track : tracks) {
        trackNames.insert(ToLowerAscii(track.display));
    }
    for (DirectoryEntry& entry : entries) {
        const bool isTrack = trackNames.contains(ToLowerAscii(entry.name));
        // Whole names only: the folder "Music" does not hold a program in "Music2".
        if (isTrack || (entry.isFolder && !program.empty() &&
                        FolderHoldsPath(ToLowerAscii(folder + entry.name), program))) {
            continue;
        }
        others.push_back(std::move(entry.name));
    }
    return others;
}

void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks, ArrangeRun& run) {
    ArrangeByDirectoryOrder(folder, tracks, CollectOtherEntries(folder, tracks, run.fs), run);
}

void ArrangeByDirectoryOrder(const std::string& folder, const TrackList& tracks,
                             const std::vector<std::string>& others, ArrangeRun& run) {
    DirectoryOrderRun(folder, tracks, others, run).Run();
}

void RunStrategy(PlayerType type, const std::string& folder, const TrackList& tracks,
                 ArrangeRun& run) {
    switch (type) {
    case PlayerType::DirectoryOrder:
        ArrangeByDirectoryOrder(folder, tracks, run);
        break;
    case PlayerType::FileNames:
        ArrangeByFileName(folder, tracks, run);
        break;
    case PlayerType::CreationTimes:
        ArrangeByCreationTime(folder, tracks, run);
        break;
    }
}

} // namespace tralvo
