#pragma once

#include "arrange/strategies.h"
#include "arrange/track_list.h"
#include "jobs/order_check.h"

#include <string>

namespace tralvo::test {

// The check a job makes after its run, for a strategy run on its own: a failure, told to the
// run's observer, when reloaded does not play made. True when it does not.
inline bool ReportWhenOrderDiffers(const std::string& made, const TrackList& reloaded,
                                   ArrangeRun& run) {
    if (jobs::OrderMatches(made, reloaded.Text(), run.report)) {
        return false;
    }
    run.Fail(RunStep::OrderDiffers, {});
    return true;
}

} // namespace tralvo::test
