#include "arrange/tralvo_command.h"

namespace tralvo {

bool ReportWhenOrderDiffers(const std::string& before, const TrackList& reloaded, ArrangeRun& run) {
    // A run that stopped early has said what became of the folder already.
    if (reloaded.Text() == before || run.report.outcome == RunOutcome::Stopped) {
        return false;
    }
    run.Fail(RunStep::OrderDiffers, {});
    return true;
}

} // namespace tralvo
