#include "jobs/message_box_observer.h"

#include "jobs/run_failure_messages.h"

namespace tralvo {

void MessageBoxObserver::Failed(const RunFailure& failure) {
    messages_.Show(FailureMessage(failure, parent_));
}

bool MessageBoxObserver::RecoverNow(const std::string& /*folder*/) {
    return messages_.Show(RecoverNowQuestion(parent_)) == MessageAnswer::Yes;
}

void MessageBoxObserver::Recovered(const RecoveryReport& report) {
    messages_.Show(RecoveryMessage(report.notRestored, parent_));
}

} // namespace tralvo
