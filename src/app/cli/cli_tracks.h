#pragma once

#include "app/cli/cli_commands.h"
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

// One line per track: position from 1, display string, path on disk.
void PrintTrackList(const TrackList& tracks);

} // namespace tralvo::cli
