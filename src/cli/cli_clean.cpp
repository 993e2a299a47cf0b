// clean: what computers leave in a player folder, listed and removed for good.
#include "arrange/player_junk.h"
#include "cli/cli_commands.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "cli/cli_tracks.h"

#include <cstdio>
#include <system_error>

namespace tralvo::cli {

namespace {

std::string ReasonText(const JunkKept& kept) {
    if (kept.reason == JunkKept::Reason::Changed) {
        return "changed since it was listed";
    }
    const int code = kept.status.code();
    return code > 0 ? "cannot be removed: " + std::generic_category().message(code)
                    : "cannot be removed";
}

} // namespace

int RunCleanCommand(Arguments args) {
    bool dryRun = false;
    std::vector<std::string> operands;
    std::size_t index = 0;
    while (index < args.size()) {
        if (args[index] == "--dry-run") {
            dryRun = true;
            ++index;
        } else if (!TakeOperand(args, index, operands)) {
            return UsageError("unknown option: " + args[index]);
        }
    }
    if (operands.size() != 1) {
        return UsageError("clean needs one folder");
    }
    std::string folder;
    if (!ResolveFolder(operands.front(), folder)) {
        return ExitFailure;
    }
    FileSystem& fs = ToolFileSystem();
    const std::vector<JunkEntry> junk = FindPlayerJunk(folder, fs);
    for (const JunkEntry& entry : junk) {
        PrintFields({entry.name, std::to_string(entry.size)});
    }
    PrintFields({"total", std::to_string(TotalSize(junk))});
    if (dryRun || junk.empty()) {
        return ExitOk;
    }
    const JunkRemoval removal = RemovePlayerJunk(folder, junk, fs);
    for (const std::string& name : removal.removed) {
        PrintFields({"removed", name});
    }
    for (const std::string& name : removal.gone) {
        PrintFields({"gone", name});
    }
    for (const JunkKept& kept : removal.kept) {
        PrintFields({"kept", kept.name, ReasonText(kept)});
    }
    return removal.complete() ? ExitOk : ExitFailure;
}

void NoteWhenJunkFound(const std::string& folder) {
    if (HoldsPlayerJunk(folder, ToolFileSystem())) {
        const std::string name = EscapeField(folder);
        std::fprintf(stderr,
                     "Note: %s holds files computers leave behind (such as ._ companions or "
                     ".DS_Store); \"tralvo-cli clean %s\" removes them\n",
                     name.c_str(), name.c_str());
    }
}

} // namespace tralvo::cli
