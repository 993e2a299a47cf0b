#pragma once

#include "arrange/run_report.h"
#include "jobs/job_outcome.h"

#include <string>

namespace tralvo::jobs {

// Whether a folder, read back as readBack (display strings as TrackList::Text joins them),
// plays made, the order its run made. A run that stopped early has said what became of the
// folder already, so its order counts as matching.
bool OrderMatches(const std::string& made, const std::string& readBack, const RunReport& report);

// OrderMatches for a job's outcome: when the order differs, the failure joins its report.
void CheckOrder(const std::string& made, const std::string& readBack, JobOutcome& outcome);

// Tells observer that the order differs, when the job found so.
void TellOrder(const JobOutcome& outcome, RunObserver& observer);

} // namespace tralvo::jobs
