#include "arrange/two_pass_rename.h"

#include "platform/list_numbers.h"
#include "platform/paths.h"

namespace tralvo {

std::vector<JournalRename> FileNameRenames(const TrackList& tracks) {
    std::vector<JournalRename> renames;
    const int width = ListDigits(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const TrackEntry& track = tracks[i];
        std::string name =
            track.file ? std::string(BaseName(track.file->FileName())) : track.display;
        renames.push_back(
            {std::move(name), TemporaryName(i), "{" + ZeroPad(i + 1, width) + "}" + track.display});
    }
    return renames;
}

void RenameInTwoPasses(const std::string& folder, const std::vector<JournalRename>& renames,
                       ArrangeRun& run, SecondPassStop stop) {
    const std::size_t count = renames.size();
    run.progress.SetMaximum(static_cast<int>(2 * count));
    std::vector<bool> renamed(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (run.stopping()) {
            return; // what has its temporary name goes back after the run
        }
        const std::string from = folder + renames[i].from;
        Status status = run.fs.Rename(from, folder + renames[i].temporary);
        renamed[i] = status.ok();
        if (!renamed[i]) {
            run.Fail(RunStep::Rename, from, std::move(status));
        }
        run.progress.SetPosition(static_cast<int>(i + 1));
    }
    // The first pass reaches the disk whole before the second starts (see the directory order).
    run.fs.Flush(folder);
    if (run.stopping()) {
        return;
    }
    bool announced = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (stop == SecondPassStop::EndsItAtOnce && run.stopping()) {
            return;
        }
        // Without a journal that says which tracks wear their temporary names, a track at its
        // new name could not be told from the one that had that name before.
        if (renamed[i] && !announced) {
            announced = true;
            if (!run.secondPassStarts(renamed)) {
                return;
            }
        }
        const std::string temporary = folder + renames[i].temporary;
        // An entry whose first rename failed is not under its temporary name: whatever is
        // there was left by an earlier run and belongs to another track, so it stays.
        Status status;
        if (renamed[i]) {
            status = run.fs.Rename(temporary, folder + renames[i].to);
        }
        if (!renamed[i] || !status) {
            if (renamed[i] && run.stopping()) {
                return;
            }
            run.Fail(RunStep::Rename, temporary, std::move(status));
        }
        run.progress.SetPosition(static_cast<int>(count + i + 1));
    }
}

} // namespace tralvo
