#pragma once

#include "app/cli/cli_commands.h"
#include "arrange/strategies.h"
#include "arrange/track_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tralvo::cli {

// How the player plays a folder: what the settings' player type and 8.3 switch say.
struct ListingOptions {
    std::uint8_t playerType = 0;
    bool only83FileNames = false;
};

// Nobody watches the tool's progress.
struct NoProgress : RunProgress {
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
};

enum class OptionTaken { No, Yes, Invalid };

// Takes "--type N" or "--only83" at args[index], advancing index; problem says what is wrong
// with an invalid one.
OptionTaken TakeListingOption(Arguments args, std::size_t& index, ListingOptions& options,
                              std::string& problem);

// Takes the words that are not options ("--" ends the options) into operands, advancing index.
bool TakeOperand(Arguments args, std::size_t& index, std::vector<std::string>& operands);

// The absolute path of the folder, links resolved: the directory-order run keeps the
// program's own folder in place only when the paths compare. False, after saying so on
// standard error, when it is no folder.
bool ResolveFolder(const std::string& operand, std::string& folder);

// The track list as the player pane loads it, read without probing the sound system.
TrackList LoadFolder(const std::string& folder, const ListingOptions& options);

// One line on standard error, beginning with "Note:", when folder holds what an interrupted
// run left behind, naming the recover command.
void NoteWhenRecoveryNeeded(const std::string& folder);

// One line per track: position from 1, display string, path on disk.
void PrintTrackList(const TrackList& tracks);

} // namespace tralvo::cli
