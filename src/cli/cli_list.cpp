#include "cli/cli_commands.h"
#include "cli/cli_tracks.h"

namespace tralvo::cli {

// The folder's tracks in the order the player plays them, as the player pane lists them.
int RunListCommand(Arguments args) {
    ListingOptions options;
    std::vector<std::string> operands;
    std::size_t index = 0;
    while (index < args.size()) {
        std::string problem;
        const OptionTaken taken = TakeListingOption(args, index, options, problem);
        if (taken == OptionTaken::Invalid) {
            return UsageError(problem);
        }
        if (taken == OptionTaken::No && !TakeOperand(args, index, operands)) {
            return UsageError("unknown option: " + args[index]);
        }
    }
    if (operands.size() != 1) {
        return UsageError("list needs one folder");
    }
    std::string folder;
    if (!ResolveFolder(operands.front(), folder)) {
        return ExitFailure;
    }
    NoteWhenRecoveryNeeded(folder);
    NoteWhenJunkFound(folder);
    PrintTrackList(LoadFolder(folder, options));
    return ExitOk;
}

} // namespace tralvo::cli
