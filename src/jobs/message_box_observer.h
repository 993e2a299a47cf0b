#pragma once

#include "arrange/recovery.h"
#include "arrange/run_report.h"
#include "jobs/messages.h"

#include <string>

namespace tralvo {

// Tells the user of a run's failures and asks before a recovery, each in a box owned by the
// window named parent: boxes in the windows, lines of the command-line tool.
class MessageBoxObserver final : public RunObserver, public RecoveryDialogue {
public:
    MessageBoxObserver(Messages& messages, std::string parent)
        : messages_(messages), parent_(std::move(parent)) {}

    void Failed(const RunFailure& failure) override;
    bool RecoverNow(const std::string& folder) override;
    void Recovered(const RecoveryReport& report) override;

private:
    Messages& messages_;
    std::string parent_;
};

} // namespace tralvo
