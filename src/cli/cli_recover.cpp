// recover and undo: the folder put back together after an interrupted run, and the last run
// taken back.
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/undo.h"
#include "cli/cli_commands.h"
#include "cli/cli_console_messages.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "cli/cli_tracks.h"
#include "cli/console_run.h"
#include "i18n/language_catalogue.h"
#include "jobs/message_box_observer.h"
#include "jobs/order_check.h"
#include "jobs/run_failure_messages.h"
#include "jobs/undo_last_run.h"
#include "platform/stop_signals.h"

#include <optional>

namespace tralvo::cli {

namespace {

// The folder of "[--dir DIR] [--type N] [--only83] FOLDER", resolved; nothing, after saying
// why, with the exit status in status.
std::optional<std::string> FolderOf(Arguments args, const std::string& command,
                                    ListingOptions& listing, int& status) {
    std::vector<std::string> operands;
    std::string problem = TakeFolderArguments(args, listing, operands);
    if (problem.empty() && operands.size() != 1) {
        problem = command + " needs one folder";
    }
    if (!problem.empty()) {
        status = UsageError(problem);
        return std::nullopt;
    }
    std::string folder;
    if (!ResolveFolder(operands.front(), folder)) {
        status = ExitFailure;
        return std::nullopt;
    }
    return folder;
}

std::string_view ReasonText(NotRestored::Reason reason) {
    using Reason = NotRestored::Reason;
    switch (reason) {
    case Reason::Missing:
        return "not found";
    case Reason::NameTaken:
        return "name taken";
    case Reason::CannotMove:
        return "cannot be moved";
    case Reason::CannotSetTime:
        return "creation time cannot be set";
    case Reason::UnknownKind:
        return "not an audio file";
    case Reason::NoTitle:
        return "no title";
    case Reason::TitleNotUnique:
        return "title not unique";
    case Reason::CannotRemoveFile:
        return "cannot be removed";
    case Reason::NotIdentified:
        return "content is not the track's";
    case Reason::Busy:
        return "another Tralvo run is changing this folder";
    case Reason::IncompleteCopy:
        return "copy of no file here";
    case Reason::CannotRemoveFolder:
        break;
    }
    return "folder cannot be removed";
}

void PrintReport(const RecoveryReport& report) {
    for (const RecoveryStep& step : report.steps) {
        switch (step.kind) {
        case RecoveryStep::Kind::Moved:
            PrintFields({"moved", step.from, step.to});
            break;
        case RecoveryStep::Kind::Renamed:
            PrintFields({"renamed", step.from, step.to});
            break;
        case RecoveryStep::Kind::TimeRestored:
            PrintFields({"time", step.from});
            break;
        case RecoveryStep::Kind::FolderRemoved:
        case RecoveryStep::Kind::FileRemoved:
            PrintFields({"removed", step.from});
            break;
        }
    }
    for (const NotRestored& kept : report.notRestored) {
        PrintFields({"kept", kept.name, ReasonText(kept.reason)});
    }
}

} // namespace

int RunRecoverCommand(Arguments args) {
    ListingOptions listing;
    int status = ExitFailure;
    const std::optional<std::string> folder = FolderOf(args, "recover", listing, status);
    if (!folder) {
        return status;
    }
    OpenLanguageCatalogue();
    UseEnglish(Catalogue());
    ConsoleMessages messages;
    const RecoveryReport report = RecoverFolder(FolderWithSlash(*folder), ToolFileSystem());
    PrintReport(report);
    MessageBoxObserver(messages, "").Recovered(report);
    CloseLanguageCatalogue();
    return report.complete() ? ExitOk : ExitFailure;
}

int RunUndoCommand(Arguments args) {
    ListingOptions listing;
    int status = ExitFailure;
    const std::optional<std::string> folder = FolderOf(args, "undo", listing, status);
    if (!folder) {
        return status;
    }
    ConsoleRun console;
    const jobs::UndoJobOutcome undo =
        console.Run([&](ArrangeRun& run) { return jobs::UndoLastRun(*folder, listing, run); });
    // As before the list: the undo's own check speaks with its other failures.
    jobs::TellOrder(undo.job, console.observer);
    const UndoOutcome outcome = undo.outcome;
    if (outcome == UndoOutcome::NothingToUndo) {
        console.messages.Show(NothingToUndoMessage(""));
    }
    if (undo.job.changed) {
        PrintTrackList(undo.job.reloaded.tracks);
    }
    const bool interrupted = SayWhenInterrupted(console.messages);
    return outcome == UndoOutcome::Undone && console.messages.shown() == 0 && !interrupted
               ? ExitOk
               : ExitFailure;
}

} // namespace tralvo::cli
