#pragma once

#include "arrange/strategies.h"
#include "arrange/track_list.h"

#include <string>

namespace tralvo {

// The outcome of a run is checked by listing the folder again: when the reloaded list's text
// differs from the list's before the run, a failure says so, unless the run stopped early and
// said so itself. True when it did.
bool ReportWhenOrderDiffers(const std::string& before, const TrackList& reloaded, ArrangeRun& run);

} // namespace tralvo
