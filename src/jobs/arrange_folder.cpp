#include "jobs/arrange_folder.h"

#include "arrange/arrange_tracks.h"
#include "arrange/track_loading.h"
#include "jobs/order_check.h"

namespace tralvo::jobs {

JobOutcome ArrangeFolder(const LoadedFolder& arranged, ArrangeRun& run, JournalStore& journals) {
    return ArrangeFolder(arranged.folder, arranged.order, arranged.tracks, run, journals);
}

JobOutcome ArrangeFolder(const std::string& folder, PlayerOrder order, const TrackList& arranged,
                         ArrangeRun& run, JournalStore& journals) {
    const std::string withSlash = FolderWithSlash(folder);
    const std::string made = arranged.Text();
    JobOutcome outcome;
    outcome.changed = ArrangeTracks(order, withSlash, arranged, run, journals).Changed();
    outcome.report = run.report;
    outcome.reloaded = LoadPlayerFolder(withSlash, order, run.fs);
    if (outcome.changed) {
        CheckOrder(made, outcome.reloaded.tracks.Text(), outcome);
    }
    return outcome;
}

} // namespace tralvo::jobs
