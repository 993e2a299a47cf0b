// send: the files of a playlist copied into a player folder, which then takes its order.
#include "arrange/playlist_send.h"
#include "cli/cli_commands.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "cli/cli_playlist.h"
#include "cli/cli_tracks.h"
#include "cli/console_run.h"
#include "platform/file_copy.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdio>

namespace tralvo::cli {

namespace {

struct SendOptions {
    ListingOptions listing;
    bool dryRun = false;
    std::string playlist;
    std::string folder;
};

std::string ParseSend(Arguments args, SendOptions& options) {
    std::vector<std::string> operands;
    if (std::string problem = TakeFolderArguments(args, options.listing, operands,
                                                  [&](std::size_t& index) -> std::string {
                                                      if (args[index] != "--dry-run") {
                                                          return "unknown option: " + args[index];
                                                      }
                                                      options.dryRun = true;
                                                      ++index;
                                                      return {};
                                                  });
        !problem.empty()) {
        return problem;
    }
    if (operands.size() != 2) {
        return "send needs a playlist and a folder";
    }
    options.playlist = operands[0];
    options.folder = operands[1];
    return {};
}

// The copies, none replacing anything; false when one failed (it left nothing behind).
bool CopyAll(const std::vector<FileToSend>& copies) {
    bool copiedAll = true;
    for (const FileToSend& copy : copies) {
        if (const Status copied = CopyFileInChunks(copy.source, copy.target, false, {});
            !copied.ok()) {
            std::fprintf(stderr, "Error: %s\n", EscapeField(copied.message()).c_str());
            copiedAll = false;
        }
    }
    return copiedAll;
}

} // namespace

int RunSendCommand(Arguments args) {
    SendOptions options;
    if (const std::string problem = ParseSend(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    PlaylistInput playlist;
    std::string folder;
    if (!ReadPlaylistFile(options.playlist, playlist) || !ResolveFolder(options.folder, folder)) {
        return ExitFailure;
    }
    NoteWhenRecoveryNeeded(folder);
    NoteWhenJunkFound(folder);
    const PlaylistSendPlan plan =
        PlanPlaylistSend(playlist.entries, playlist.folder, folder,
                         LoadFolder(folder, options.listing), ToolFileSystem());
    for (const std::string& entry : plan.missing) {
        std::fprintf(stderr, "Missing: %s\n", EscapeField(entry).c_str());
    }
    // The tool cannot ask before it replaces a file, so it replaces none.
    bool clash = false;
    for (const FileToSend& copy : plan.copies) {
        if (copy.replaces) {
            std::fprintf(stderr, "Error: %s: another file of this name is in the folder\n",
                         EscapeField(copy.target).c_str());
            clash = true;
        }
    }
    if (clash) {
        return ExitFailure;
    }
    if (options.dryRun) {
        for (const FileToSend& copy : plan.copies) {
            PrintFields({"copy", copy.source, BaseName(copy.target)});
        }
        return plan.missing.empty() ? ExitOk : ExitFailure;
    }
    bool allWent = CopyAll(plan.copies) && plan.missing.empty();

    // The missing files were named already; the playlist's other entries order the folder.
    PlaylistInput present = playlist;
    std::erase_if(present.entries, [&](const std::string& entry) {
        return std::find(plan.missing.begin(), plan.missing.end(), entry) != plan.missing.end();
    });
    TrackList tracks = LoadFolder(folder, options.listing);
    OrderByPlaylist(tracks, folder, options.listing, present);
    if (tracks.empty()) {
        PrintTrackList(tracks);
        return allWent ? ExitOk : ExitFailure;
    }
    allWent = ArrangeAndTell(tracks, folder, options.listing) && allWent;
    return allWent ? ExitOk : ExitFailure;
}

} // namespace tralvo::cli
