#include "jobs/run_failure_messages.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace tralvo {

namespace {

// At most this many names in the box; the command-line tool prints them all.
constexpr std::size_t MaxNamesShown = 20;

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1 << 20) - 1) >> 20);
}

} // namespace

FailureText TextOfFailure(RunStep step) {
    using Argument = FailureArgument;
    switch (step) {
    case RunStep::FolderBusy:
        return {"FolderBusy", Argument::Path, false};
    case RunStep::ReservedEntry:
        return {"ReservedEntry", Argument::Name, false};
    case RunStep::WriteJournal:
        return {"JournalError", Argument::Path, false};
    case RunStep::CreateTempFolder:
        return {"CreateTempFolderError", Argument::None, false};
    case RunStep::MoveToTempFolder:
        // The one text that ends where the failure is named.
        return {"MoveToTempFolderError", Argument::Name, true};
    case RunStep::MoveBack:
        return {"MoveBackError", Argument::Name, false};
    case RunStep::RemoveTempFolder:
        return {"RemoveTempFolderError", Argument::None, false};
    case RunStep::Rename:
        return {"RenameError", Argument::Path, false};
    case RunStep::SetCreationTime:
        return {"SetCreationTimeError", Argument::Path, false};
    case RunStep::NoRoomToRecreate:
        return {"NoRoomToRecreate", Argument::Path, false};
    case RunStep::Recreate:
        return {"RecreateError", Argument::Path, false};
    case RunStep::RemoveTempFile:
        return {"RemoveTempFileError", Argument::Path, false};
    case RunStep::JournalPutBack:
        return {"JournalErrorPutBack", Argument::Path, false};
    case RunStep::Stopped:
        return {"RunStopped", Argument::None, false};
    case RunStep::PutBackInPart:
        return {"RecoverIncomplete", Argument::None, false};
    case RunStep::OrderDiffers:
        return {"TralvoFailed", Argument::None, false};
    case RunStep::UndoNotPossible:
        break;
    }
    return {"UndoNotPossible", Argument::None, false};
}

MessageRequest FailureMessage(const RunFailure& failure, const std::string& parent) {
    if (failure.step == RunStep::PutBackInPart) {
        return RecoveryMessage(failure.notRestored, parent);
    }
    const FailureText told = TextOfFailure(failure.step);
    std::string_view argument;
    if (told.argument == FailureArgument::Path) {
        argument = failure.path;
    } else if (told.argument == FailureArgument::Name) {
        argument = BaseName(failure.path);
    }
    MessageRequest request = ErrorMessage(parent, std::string(told.key), argument);
    if (failure.step == RunStep::NoRoomToRecreate) {
        request.text = ReplaceAll(ReplaceAll(request.text, "%1", Megabytes(failure.needed)), "%2",
                                  std::to_string(failure.available >> 20));
    }
    if (told.withReason && !failure.status.ok()) {
        request.reason = failure.status.message();
    }
    return request;
}

MessageRequest RecoveryMessage(const std::vector<NotRestored>& notRestored,
                               const std::string& parent) {
    if (!notRestored.empty() && notRestored.front().reason == NotRestored::Reason::Busy) {
        return ErrorMessage(parent, "FolderBusy", notRestored.front().name);
    }
    if (notRestored.empty()) {
        return CatalogueMessage(parent, "RecoverFolderTitle", "RecoverDone",
                                MessageIcon::Information, MessageButtons::Ok);
    }
    std::string names;
    for (std::size_t i = 0; i < notRestored.size(); ++i) {
        if (i == MaxNamesShown) {
            names += "\n...";
            break;
        }
        names += (i == 0 ? "" : "\n") + notRestored[i].name;
    }
    return ErrorMessage(parent, "RecoverIncomplete", names);
}

MessageRequest RecoverNowQuestion(const std::string& parent) {
    return CatalogueMessage(parent, "RecoverFolderTitle", "RecoverFolder", MessageIcon::Question,
                            MessageButtons::YesNo);
}

MessageRequest NothingToUndoMessage(const std::string& parent) {
    return CatalogueMessage(parent, "UndoTitle", "NothingToUndo", MessageIcon::Information,
                            MessageButtons::Ok);
}

} // namespace tralvo
