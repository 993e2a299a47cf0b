#include "arrange/run_journal.h"
#include "arrange/strategies.h"

#include <optional>

namespace tralvo {

namespace {

constexpr FileTime UnitsPerSecond = 10'000'000;
// Elsewhere a step only has to outlast the kernel's coarse clock, which ticks every few ms.
constexpr FileTime FineStep = UnitsPerSecond / 100;
constexpr FileTime FatStep = 2 * UnitsPerSecond;
// File systems stamp with a coarse clock that may lag a tick (at most 10 ms) behind the
// moment waited for; a copy stamped too early all the same is made again, a few times at most.
constexpr FileTime CoarseClockLag = UnitsPerSecond / 100;
constexpr int Attempts = 3;

bool KeepsTwoSecondSteps(const std::string& type) {
    return type == "vfat" || type == "msdos" || type == "exfat" || type == "fat" ||
           type.starts_with("fuse");
}

// The leading tracks whose times already rise step by step, all before the present step:
// they keep their times, since every track made anew comes after them.
std::size_t KeptInOrder(const std::string& folder, const std::vector<std::string>& names,
                        FileSystem& fs, Clock& clock, FileTime step) {
    const FileTime present = clock.Now() / step;
    std::optional<FileTime> last;
    for (std::size_t i = 0; i < names.size(); ++i) {
        FileTime time = 0;
        if (!fs.ReadCreationTime(folder + names[i], time) || (last && time / step <= *last) ||
            time / step >= present) {
            return i;
        }
        last = time / step;
    }
    return names.size();
}

class Recreation {
public:
    Recreation(const std::string& folder, const std::vector<std::string>& names,
               const std::vector<JournalRecreate>& plan, ArrangeRun& run)
        : folder_(folder), names_(names), plan_(plan), run_(run),
          step_(CreationTimeStep(folder, run.fs)) {}

    void Run() {
        const std::size_t count = names_.size();
        run_.progress.SetMaximum(static_cast<int>(count));
        const std::size_t kept = KeptInOrder(folder_, names_, run_.fs, run_.clock, step_);
        if (!RoomForCopies(kept)) {
            return;
        }
        run_.progress.SetPosition(static_cast<int>(kept));
        if (kept > 0) {
            FileTime time = 0;
            run_.fs.ReadCreationTime(folder_ + names_[kept - 1], time);
            previous_ = time;
        }
        for (std::size_t i = kept; i < count; ++i) {
            // Between tracks every track stands whole under its own name.
            if (run_.stopping()) {
                return;
            }
            if (const std::optional<FileTime> stamp = Recreate(i)) {
                previous_ = stamp;
            }
            run_.progress.SetPosition(static_cast<int>(i + 1));
        }
    }

private:
    // The largest track that is to be made anew must fit beside its original.
    bool RoomForCopies(std::size_t kept) {
        std::uint64_t largest = 0;
        std::string largestName;
        for (std::size_t i = kept; i < names_.size(); ++i) {
            std::uint64_t size = 0;
            if (run_.fs.ReadFileSize(folder_ + names_[i], size) && size >= largest) {
                largest = size;
                largestName = names_[i];
            }
        }
        std::uint64_t free = 0;
        std::uint64_t unit = 1;
        if (largestName.empty() || !run_.fs.FreeSpace(folder_, free, unit)) {
            return true; // nothing to copy, or nothing known: each copy says for itself
        }
        unit = unit == 0 ? 1 : unit;
        if ((largest + unit - 1) / unit * unit <= free) {
            return true;
        }
        RunFailure refusal{RunStep::NoRoomToRecreate, folder_ + largestName, Status::Ok()};
        refusal.needed = largest;
        refusal.available = free;
        run_.Fail(std::move(refusal));
        return false;
    }

    // Makes track i anew; its new creation time, or nothing when it stays as it was.
    std::optional<FileTime> Recreate(std::size_t i) {
        FileSystem& fs = run_.fs;
        const std::string original = folder_ + names_[i];
        const std::string copy = folder_ + plan_[i].copy;
        const std::string backup = folder_ + plan_[i].backup;
        SteppedCopy made = CopyInLaterStep(original, copy, previous_, step_, fs, run_.clock);
        if (!made.copied) {
            return Failed(RunStep::Recreate, original, std::move(made.copied));
        }
        if (!made.removed) {
            return Failed(RunStep::RemoveTempFile, copy, std::move(made.removed));
        }
        const FileTime stamp = made.stamp;
        // Each rename goes to the disk before the next step: on FAT a renamed file's entry
        // holds no data until its record is written back, and a power cut in between would
        // leave an empty file where the original or its copy was.
        if (Status status = fs.Rename(original, backup); !status) {
            fs.RemoveFile(copy);
            return Failed(RunStep::Recreate, original, std::move(status));
        }
        if (Status status = Flushed(fs.Flush(folder_), [&] { return fs.Rename(copy, original); });
            !status) {
            fs.Rename(backup, original);
            fs.RemoveFile(copy);
            return Failed(RunStep::Recreate, original, std::move(status));
        }
        if (Status status = Flushed(fs.Flush(folder_), [&] { return fs.RemoveFile(backup); });
            !status) {
            Failed(RunStep::RemoveTempFile, backup, std::move(status));
        }
        return stamp;
    }

    // The step after a flush, taken only when the flush succeeded; what failed first.
    template <typename Step>
    static Status Flushed(Status flush, Step step) {
        return flush ? step() : flush;
    }

    std::nullopt_t Failed(RunStep step, const std::string& path, Status status) {
        run_.Fail(step, path, std::move(status));
        return std::nullopt;
    }

    const std::string& folder_;
    const std::vector<std::string>& names_;
    const std::vector<JournalRecreate>& plan_;
    ArrangeRun& run_;
    const FileTime step_;
    std::optional<FileTime> previous_;
};

} // namespace

SteppedCopy CopyInLaterStep(const std::string& from, const std::string& to,
                            std::optional<FileTime> previous, FileTime step, FileSystem& fs,
                            Clock& clock) {
    SteppedCopy made;
    for (int attempt = 1;; ++attempt) {
        if (previous) {
            clock.SleepUntil((*previous / step + 1) * step + CoarseClockLag);
        }
        if (made.copied = fs.CopyFile(from, to); !made.copied) {
            return made;
        }
        if (!fs.ReadCreationTime(to, made.stamp)) {
            made.stamp = clock.Now(); // the file system keeps it, but does not tell
        }
        if (!previous || made.stamp / step > *previous / step || attempt == Attempts) {
            return made;
        }
        if (made.removed = fs.RemoveFile(to); !made.removed) {
            return made;
        }
    }
}

FileTime CreationTimeStep(const std::string& folder, FileSystem& fs) {
    const std::string mountPoint = fs.VolumeOf(folder);
    std::string type;
    for (const Volume& volume : fs.Volumes()) {
        if (volume.mountPoint == mountPoint) {
            type = volume.fileSystemType;
        }
    }
    return KeepsTwoSecondSteps(type) ? FatStep : FineStep;
}

std::size_t TracksToRecreate(const std::string& folder, const std::vector<std::string>& names,
                             FileSystem& fs, Clock& clock) {
    return names.size() - KeptInOrder(folder, names, fs, clock, CreationTimeStep(folder, fs));
}

void RecreateInOrder(const std::string& folder, const std::vector<std::string>& names,
                     const std::vector<JournalRecreate>& plan, ArrangeRun& run) {
    Recreation(folder, names, plan, run).Run();
}

std::vector<JournalRecreate> RecreationPlan(const std::string& folder,
                                            const std::vector<std::string>& names, FileSystem& fs) {
    std::vector<JournalRecreate> plan;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::uint64_t size = 0;
        fs.ReadFileSize(folder + names[i], size);
        plan.push_back({CopyName(i), TemporaryName(i), size});
    }
    return plan;
}

} // namespace tralvo
