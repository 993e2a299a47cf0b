#include "arrange/strategies.h"
#include "platform/list_numbers.h"

namespace tralvo {

void ArrangeByFileName(const std::string& folder, const TrackList& tracks, ArrangeRun& run) {
    const std::size_t count = tracks.size();
    const int width = ListDigits(count);
    run.progress.SetMaximum(static_cast<int>(2 * count));
    std::vector<bool> renamed(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (run.stopping()) {
            return; // what has its temporary name goes back after the run
        }
        const std::string& path = tracks[i].file->FileName();
        Status status = run.fs.Rename(path, folder + std::to_string(i) + ".qz_temp");
        renamed[i] = status.ok();
        if (!renamed[i]) {
            run.Fail(RunStep::Rename, path, std::move(status));
        }
        run.progress.SetPosition(static_cast<int>(i + 1));
    }
    // The first pass reaches the disk whole before the second starts (see the directory order).
    run.fs.Flush(folder);
    if (run.stopping()) {
        return;
    }
    // Once begun, the second pass is nearer to its end than the folder to its old state: a
    // stop asked for now waits for its end, unless a rename fails.
    for (std::size_t i = 0; i < count; ++i) {
        const std::string temporary = folder + std::to_string(i) + ".qz_temp";
        // A track whose first rename failed is not under its temporary name: whatever is
        // there was left by an earlier run and belongs to another track, so it stays.
        Status status;
        if (renamed[i]) {
            status = run.fs.Rename(temporary,
                                   folder + "{" + ZeroPad(i + 1, width) + "}" + tracks[i].display);
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
