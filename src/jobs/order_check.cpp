#include "jobs/order_check.h"

namespace tralvo::jobs {

bool OrderMatches(const std::string& made, const std::string& readBack, const RunReport& report) {
    return readBack == made || report.outcome == RunOutcome::Stopped;
}

void CheckOrder(const std::string& made, const std::string& readBack, JobOutcome& outcome) {
    outcome.orderMatches = OrderMatches(made, readBack, outcome.report);
    if (!outcome.orderMatches) {
        outcome.report.failures.push_back({RunStep::OrderDiffers, {}, {}});
    }
}

void TellOrder(const JobOutcome& outcome, RunObserver& observer) {
    if (!outcome.orderMatches) {
        observer.Failed({RunStep::OrderDiffers, {}, {}});
    }
}

} // namespace tralvo::jobs
