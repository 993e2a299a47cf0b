#include "arrange/arrange_tracks.h"
#include "arrange/track_loading.h"
#include "arrange/track_ordering.h"
#include "cli/cli_commands.h"
#include "cli/cli_file_system.h"
#include "cli/cli_order_file.h"
#include "cli/cli_playlist.h"
#include "cli/cli_tracks.h"
#include "cli/console_run.h"

#include <cstdio>
#include <optional>

namespace tralvo::cli {

namespace {

enum class Ordering { None, Sort, ReverseSort, Shuffle, File, Playlist };

struct ArrangeOptions {
    ListingOptions listing;
    Ordering ordering = Ordering::None;
    media::SortKeys keys;
    bool natural = false;  // may come before the keys, which --sort replaces whole
    std::string orderFile; // or the playlist
    bool dryRun = false;
    std::string folder;
};

// "K1,K2,K3", each a sort key 0 to 8.
std::optional<media::SortKeys> ParseKeys(const std::string& text) {
    if (text.size() != 5 || text[1] != ',' || text[3] != ',') {
        return std::nullopt;
    }
    media::SortKey keys[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const int number = text[2 * i] - '0';
        if (number < 0 || number > media::SortKeyNumber(media::LastSortKey)) {
            return std::nullopt;
        }
        keys[i] = media::SortKeyFromNumber(number);
    }
    return media::SortKeys{keys[0], keys[1], keys[2]};
}

// Takes the option at args[index]; an empty result means it was fine.
std::string TakeArrangeOption(Arguments args, std::size_t& index, ArrangeOptions& options) {
    const std::string& option = args[index];
    const bool hasValue = index + 1 < args.size();
    Ordering ordering = Ordering::None;
    if (option == "--dry-run") {
        options.dryRun = true;
        ++index;
        return {};
    }
    if (option == "--natural") {
        options.natural = true;
        ++index;
        return {};
    }
    if (option == "--shuffle") {
        ordering = Ordering::Shuffle;
        ++index;
    } else if (option == "--sort" || option == "--reverse-sort") {
        const std::optional<media::SortKeys> keys =
            hasValue ? ParseKeys(args[index + 1]) : std::nullopt;
        if (!keys) {
            return option + " needs three sort keys from 0 to 8, such as 2,3,1";
        }
        options.keys = *keys;
        ordering = option == "--sort" ? Ordering::Sort : Ordering::ReverseSort;
        index += 2;
    } else if (option == "--order" || option == "--playlist") {
        if (!hasValue) {
            return option + " needs a file";
        }
        options.orderFile = args[index + 1];
        ordering = option == "--order" ? Ordering::File : Ordering::Playlist;
        index += 2;
    } else {
        return "unknown option: " + option;
    }
    if (options.ordering != Ordering::None) {
        return "give only one of --sort, --reverse-sort, --shuffle, --order and --playlist";
    }
    options.ordering = ordering;
    return {};
}

std::string ParseArrange(Arguments args, ArrangeOptions& options) {
    std::vector<std::string> operands;
    if (std::string problem = TakeFolderArguments(
            args, options.listing, operands,
            [&](std::size_t& index) { return TakeArrangeOption(args, index, options); });
        !problem.empty()) {
        return problem;
    }
    if (options.ordering == Ordering::None) {
        return "arrange needs one of --sort, --reverse-sort, --shuffle, --order and --playlist";
    }
    if (options.natural && options.ordering != Ordering::Sort &&
        options.ordering != Ordering::ReverseSort) {
        return "--natural goes with --sort or --reverse-sort";
    }
    options.keys.natural = options.natural;
    if (operands.size() != 1) {
        return "arrange needs one folder";
    }
    options.folder = operands.front();
    return {};
}

// Puts tracks in the order asked for; false, after saying why, when an order file does not
// name every track exactly once.
bool Order(TrackList& tracks, const ArrangeOptions& options, const std::vector<std::string>& names,
           const PlaylistInput& playlist) {
    switch (options.ordering) {
    case Ordering::Sort:
    case Ordering::ReverseSort:
        // As the buttons sort: with the untagged rule.
        SortTrackList(tracks, options.keys, options.ordering == Ordering::ReverseSort, true);
        return true;
    case Ordering::Shuffle:
        ShuffleTrackList(tracks, media::SeedFromTimeOfDay());
        return true;
    case Ordering::Playlist:
        OrderByPlaylist(tracks, options.folder, options.listing, playlist);
        return true;
    case Ordering::File:
    case Ordering::None:
        break;
    }
    std::vector<std::string> problems;
    const std::vector<std::size_t> order = OrderOfNames(tracks, names, problems);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "tralvo-cli: %s\n", problem.c_str());
    }
    if (problems.empty()) {
        tracks.Reorder(order);
    }
    return problems.empty();
}

} // namespace

int RunArrangeCommand(Arguments args) {
    ArrangeOptions options;
    if (const std::string problem = ParseArrange(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    std::vector<std::string> names;
    if (std::string problem;
        options.ordering == Ordering::File && !ReadOrderFile(options.orderFile, names, problem)) {
        return UsageError(problem);
    }
    // A playlist that cannot be used is no usage error: the command was right, the file not.
    PlaylistInput playlist;
    if (options.ordering == Ordering::Playlist && !ReadPlaylistFile(options.orderFile, playlist)) {
        return ExitFailure;
    }
    std::string folder;
    if (!ResolveFolder(options.folder, folder)) {
        return ExitFailure;
    }
    options.folder = folder;
    NoteWhenRecoveryNeeded(folder);
    NoteWhenJunkFound(folder);
    TrackList tracks = LoadFolder(options.folder, options.listing);
    if (!Order(tracks, options, names, playlist)) {
        return UsageError({});
    }
    if (options.dryRun || tracks.empty()) {
        // An empty list runs nothing, as the Tralvo button does nothing then.
        PrintTrackList(tracks);
        return ExitOk;
    }
    return ArrangeAndTell(tracks, options.folder, options.listing) ? ExitOk : ExitFailure;
}

} // namespace tralvo::cli
