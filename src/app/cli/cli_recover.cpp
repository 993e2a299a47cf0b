// recover and undo: the folder put back together after an interrupted run, and the last run
// taken back.
#include "app/cli/cli_commands.h"
#include "app/cli/cli_console_messages.h"
#include "app/cli/cli_file_system.h"
#include "app/cli/cli_output.h"
#include "app/cli/cli_tracks.h"
#include "app/language_catalogue.h"
#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "arrange/undo.h"

namespace tralvo::cli {

namespace {

// "[--dir DIR] [--type N] [--only83] FOLDER"; an empty result means it was fine.
std::string ParseFolderCommand(Arguments args, const std::string& command, ListingOptions& listing,
                               std::string& folder) {
    std::vector<std::string> operands;
    std::size_t index = 0;
    while (index < args.size()) {
        bool dirTaken = false;
        if (!TakeDirOption(args, index, dirTaken)) {
            return "--dir needs a folder";
        }
        if (dirTaken || TakeOperand(args, index, operands)) {
            continue;
        }
        std::string problem;
        const OptionTaken taken = TakeListingOption(args, index, listing, problem);
        if (taken == OptionTaken::Invalid) {
            return problem;
        }
        if (taken == OptionTaken::No) {
            return "unknown option: " + args[index];
        }
    }
    if (operands.size() != 1) {
        return command + " needs one folder";
    }
    folder = operands.front();
    return {};
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
    std::string operand;
    if (const std::string problem = ParseFolderCommand(args, "recover", listing, operand);
        !problem.empty()) {
        return UsageError(problem);
    }
    std::string folder;
    if (!ResolveFolder(operand, folder)) {
        return ExitFailure;
    }
    UseSilentAudio(); // the tags of temporary files name them
    OpenLanguageCatalogue();
    UseEnglish(Catalogue());
    ConsoleMessages messages;
    const RecoveryReport report = RecoverFolder(FolderWithSlash(folder), ToolFileSystem());
    PrintReport(report);
    ShowRecoveryReport(report, messages, "");
    CloseLanguageCatalogue();
    return report.complete() ? ExitOk : ExitFailure;
}

int RunUndoCommand(Arguments args) {
    ListingOptions listing;
    std::string operand;
    if (const std::string problem = ParseFolderCommand(args, "undo", listing, operand);
        !problem.empty()) {
        return UsageError(problem);
    }
    std::string folder;
    if (!ResolveFolder(operand, folder)) {
        return ExitFailure;
    }
    OpenLanguageCatalogue();
    UseEnglish(Catalogue());
    ConsoleMessages messages;
    NoProgress progress;
    ArrangeRun run{ToolFileSystem(), messages, progress, ""};
    const UndoOutcome outcome = UndoLastRun(FolderWithSlash(folder), run);
    if (outcome == UndoOutcome::Undone || outcome == UndoOutcome::Failed) {
        PrintTrackList(LoadFolder(folder, listing));
    }
    CloseLanguageCatalogue();
    return outcome == UndoOutcome::Undone && messages.shown() == 0 ? ExitOk : ExitFailure;
}

} // namespace tralvo::cli
