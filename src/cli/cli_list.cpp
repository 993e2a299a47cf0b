#include "arrange/track_list_m3u8.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_tracks.h"

#include <cstdio>

namespace tralvo::cli {

namespace {

// The list as an M3U8 playlist on standard output; a name no M3U8 line can hold is left out,
// with a note on standard error.
void PrintM3u8(const TrackList& tracks) {
    std::vector<std::string> unwritable;
    const std::string text = TrackListM3u8(tracks, unwritable);
    std::fwrite(text.data(), 1, text.size(), stdout);
    for (const std::string& name : unwritable) {
        std::fprintf(stderr, "Note: left out, as no M3U8 line can hold its name: %s\n",
                     EscapeField(name).c_str());
    }
}

} // namespace

// The folder's tracks in the order the player plays them, as the player pane lists them.
int RunListCommand(Arguments args) {
    ListingOptions options;
    bool m3u8 = false;
    std::vector<std::string> operands;
    std::size_t index = 0;
    while (index < args.size()) {
        if (args[index] == "--m3u8") {
            m3u8 = true;
            ++index;
            continue;
        }
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
    const TrackList tracks = LoadFolder(folder, options);
    if (m3u8) {
        PrintM3u8(tracks);
    } else {
        PrintTrackList(tracks);
    }
    return ExitOk;
}

} // namespace tralvo::cli
