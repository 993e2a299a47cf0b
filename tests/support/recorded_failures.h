#pragma once

#include "arrange/recovery.h"
#include "arrange/run_report.h"

#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace tralvo {

// Steps by name in test output.
inline void PrintTo(RunStep step, std::ostream* out) {
    static constexpr const char* Names[] = {
        "FolderBusy",       "ReservedEntry",    "WriteJournal",     "CreateTempFolder",
        "MoveToTempFolder", "MoveBack",         "RemoveTempFolder", "Rename",
        "SetCreationTime",  "NoRoomToRecreate", "Recreate",         "RemoveTempFile",
        "JournalPutBack",   "Stopped",          "PutBackInPart",    "OrderDiffers",
        "UndoNotPossible"};
    *out << Names[static_cast<int>(step)];
}

namespace test {

// Keeps every failure a run reports, in the order the run reported them.
class RecordedFailures : public RunObserver {
public:
    void Failed(const RunFailure& failure) override { failures.push_back(failure); }

    std::vector<RunStep> Steps() const {
        std::vector<RunStep> steps;
        for (const RunFailure& failure : failures) {
            steps.push_back(failure.step);
        }
        return steps;
    }
    bool empty() const { return failures.empty(); }
    void clear() { failures.clear(); }

    std::vector<RunFailure> failures;
};

// Answers the recovery's question from a script (Yes when the script has run out) and keeps
// what it was asked and told.
class ScriptedRecoveryDialogue : public RecoveryDialogue {
public:
    bool RecoverNow(const std::string& folder) override {
        asked.push_back(folder);
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Recovered(const RecoveryReport& report) override { told.push_back(report); }

    std::deque<bool> answers;
    std::vector<std::string> asked;
    std::vector<RecoveryReport> told;
};

} // namespace test
} // namespace tralvo
