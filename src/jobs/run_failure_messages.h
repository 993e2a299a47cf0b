#pragma once

#include "arrange/recovery_report.h"
#include "arrange/run_report.h"
#include "jobs/messages.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// What the box of a failed step says in place of "%0".
enum class FailureArgument {
    None,
    Path, // the failure's path as it is
    Name, // the last part of the failure's path
};

// How a failed step is told: the catalogue key of its error box, what stands for "%0", and
// whether the system's reason goes below the text (only where the text gives no reason or
// advice of its own).
struct FailureText {
    std::string_view key;
    FailureArgument argument;
    bool withReason;
};

FailureText TextOfFailure(RunStep step);

// The error box that tells of failure, owned by the window named parent.
MessageRequest FailureMessage(const RunFailure& failure, const std::string& parent);

// The box that tells what a recovery did: "RecoverDone"; or the error box "RecoverIncomplete"
// naming what stays out of place, or "FolderBusy" when another process was changing the
// folder.
MessageRequest RecoveryMessage(const std::vector<NotRestored>& notRestored,
                               const std::string& parent);

// The question before a folder is put back together ("RecoverFolder").
MessageRequest RecoverNowQuestion(const std::string& parent);

// "NothingToUndo", under the caption "UndoTitle".
MessageRequest NothingToUndoMessage(const std::string& parent);

} // namespace tralvo
