#include "jobs/undo_last_run.h"

#include "arrange/player_order.h"
#include "arrange/track_loading.h"
#include "jobs/order_check.h"

namespace tralvo::jobs {

namespace {

// Display strings joined as TrackList::Text joins them.
template <typename Range, typename Display>
std::string Joined(const Range& range, Display display) {
    std::string text;
    for (const auto& item : range) {
        text += display(item);
        text += "\r\n";
    }
    return text;
}

} // namespace

UndoJobOutcome UndoLastRun(const std::string& folder, PlayerOrder shown, ArrangeRun& run,
                           JournalStore& journals) {
    const std::string withSlash = FolderWithSlash(folder);
    const TakenBack taken = TakeBackLastRun(withSlash, run, journals);
    UndoJobOutcome undo{taken.outcome, {}};
    JobOutcome& job = undo.job;
    job.report = run.report;
    job.changed = taken.outcome == UndoOutcome::Undone || taken.outcome == UndoOutcome::Failed;
    if (!job.changed) {
        return undo;
    }
    job.reloaded = LoadPlayerFolder(withSlash, shown, run.fs);
    // The old order is the one the run taken back arranged under; where the face shows
    // another, the names alone tell that order without reading every tag again.
    const std::string readBack =
        shown == taken.order ? job.reloaded.tracks.Text()
                             : Joined(ListPlayerOrder(withSlash, taken.order, run.fs),
                                      [](const ListedTrack& track) { return track.display; });
    CheckOrder(Joined(taken.before, [](const std::string& display) { return display; }), readBack,
               job);
    if (!job.orderMatches) {
        undo.outcome = UndoOutcome::Failed;
    }
    return undo;
}

} // namespace tralvo::jobs
