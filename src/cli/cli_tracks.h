#pragma once

#include "arrange/player_type.h"
#include "arrange/strategies.h"
#include "arrange/track_list.h"
#include "cli/cli_commands.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tralvo::cli {

// How the player plays a folder: what the settings' player type and 8.3 switch say.
using ListingOptions = PlayerOrder;

// A run's progress, counted in place on standard error while that is a terminal (a run that
// makes tracks anew takes minutes); nothing at all otherwise, so that scripts find only the
// errors there. The count is wiped when the run ends.
class TerminalProgress : public RunProgress {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void SetMaximum(int maximum) override { maximum_ = maximum; }
    void SetPosition(int position) override;
    // Wipes the count, before the tool prints what follows the run.
    void Wipe();

private:
    bool terminal_ = false;
    bool shown_ = false;
    int maximum_ = 0;
};

enum class OptionTaken { No, Yes, Invalid };

// Takes "--type N" or "--only83" at args[index], advancing index; problem says what is wrong
// with an invalid one.
OptionTaken TakeListingOption(Arguments args, std::size_t& index, ListingOptions& options,
                              std::string& problem);

// Takes the words that are not options ("--" ends the options) into operands, advancing index.
bool TakeOperand(Arguments args, std::size_t& index, std::vector<std::string>& operands);

// A command's own option at args[index]: takes it, advancing index, and gives nothing, or gives
// what is wrong with it ("unknown option: ..." for one it does not know).
using TakeOwnOption = std::function<std::string(std::size_t& index)>;

// The arguments of a command: "--dir DIR", the command's own options through takeOwn (none
// when it is empty) and the operands. An empty result means they were fine.
std::string TakeArguments(Arguments args, std::vector<std::string>& operands,
                          const TakeOwnOption& takeOwn = {});

// The arguments of a command on a folder: "--dir DIR", the listing options, the command's own
// options through takeOwn (none when it is empty) and the operands. An empty result means they
// were fine.
std::string TakeFolderArguments(Arguments args, ListingOptions& listing,
                                std::vector<std::string>& operands,
                                const TakeOwnOption& takeOwn = {});

// The absolute path of the folder, links resolved: the directory-order run keeps the
// program's own folder in place only when the paths compare. False, after saying so on
// standard error, when it is no folder.
bool ResolveFolder(const std::string& operand, std::string& folder);

// The track list as the player pane loads it, read without probing the sound system.
TrackList LoadFolder(const std::string& folder, const ListingOptions& options);

// One line on standard error, beginning with "Note:", when folder holds what an interrupted
// run left behind, naming the recover command.
void NoteWhenRecoveryNeeded(const std::string& folder);

// One line on standard error, beginning with "Note:", when folder holds what computers leave
// behind (player junk), naming the clean command.
void NoteWhenJunkFound(const std::string& folder);

// One line per track: position from 1, display string, path on disk.
void PrintTrackList(const TrackList& tracks);

} // namespace tralvo::cli
