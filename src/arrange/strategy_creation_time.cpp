#include "arrange/strategies.h"
#include "media/sound_file.h"

namespace tralvo {

void ArrangeByCreationTime(const std::string& folder, const TrackList& tracks, ArrangeRun& run) {
    const std::size_t count = tracks.size();
    if (!run.fs.SetsCreationTimes()) {
        std::vector<std::string> names;
        for (const TrackEntry& track : tracks) {
            names.push_back(track.display);
        }
        RecreateInOrder(folder, names, RecreationPlan(folder, names, run.fs), run);
        return;
    }
    run.progress.SetMaximum(static_cast<int>(count));
    if (count == 0) {
        return;
    }
    media::DateTime time = tracks[count - 1].file->GetCreationTime() + 1.0;
    std::size_t handled = 0;
    for (std::size_t i = count; i-- > 0;) {
        if (run.stopping()) {
            return; // the times written so far go back after the run
        }
        const std::string path = folder + tracks[i].display;
        // The times written stay one day apart with no gap where a track failed.
        if (Status status = run.fs.WriteCreationTime(path, media::DateTimeToFileTime(time - 1.0))) {
            time -= 1.0;
        } else {
            run.Fail(RunStep::SetCreationTime, path, std::move(status));
        }
        run.progress.SetPosition(static_cast<int>(++handled));
    }
}

} // namespace tralvo
