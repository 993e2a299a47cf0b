#include "cli/cli_tracks.h"

#include "arrange/recovery.h"
#include "arrange/track_loading.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "platform/file_system.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace tralvo::cli {

TerminalProgress::TerminalProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    Wipe();
}

void TerminalProgress::Wipe() {
    if (shown_) {
        std::fputs("\r\033[K", stderr);
        shown_ = false;
    }
}

void TerminalProgress::SetPosition(int position) {
    if (terminal_ && maximum_ > 0) {
        std::fprintf(stderr, "\r%d of %d\033[K", position, maximum_);
        std::fflush(stderr);
        shown_ = true;
    }
}

OptionTaken TakeListingOption(Arguments args, std::size_t& index, ListingOptions& options,
                              std::string& problem) {
    const std::string& option = args[index];
    if (option == "--only83") {
        options.only83FileNames = true;
        ++index;
        return OptionTaken::Yes;
    }
    if (option != "--type") {
        return OptionTaken::No;
    }
    const std::optional<PlayerType> type = index + 1 < args.size() && args[index + 1].size() == 1
                                               ? PlayerTypeFromNumber(args[index + 1][0] - '0')
                                               : std::nullopt;
    if (!type) {
        problem = "--type needs 0 (directory order), 1 (file names) or 2 (creation times)";
        return OptionTaken::Invalid;
    }
    options.type = *type;
    index += 2;
    return OptionTaken::Yes;
}

bool TakeOperand(Arguments args, std::size_t& index, std::vector<std::string>& operands) {
    if (args[index] == "--") {
        operands.insert(operands.end(), args.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                        args.end());
        index = args.size();
        return true;
    }
    if (args[index].starts_with("--")) {
        return false;
    }
    operands.push_back(args[index++]);
    return true;
}

std::string TakeArguments(Arguments args, std::vector<std::string>& operands,
                          const TakeOwnOption& takeOwn) {
    std::size_t index = 0;
    while (index < args.size()) {
        bool dirTaken = false;
        if (!TakeDirOption(args, index, dirTaken)) {
            return "--dir needs a folder";
        }
        if (dirTaken || TakeOperand(args, index, operands)) {
            continue;
        }
        if (std::string problem = takeOwn ? takeOwn(index) : "unknown option: " + args[index];
            !problem.empty()) {
            return problem;
        }
    }
    return {};
}

std::string TakeFolderArguments(Arguments args, ListingOptions& listing,
                                std::vector<std::string>& operands, const TakeOwnOption& takeOwn) {
    return TakeArguments(args, operands, [&](std::size_t& index) -> std::string {
        std::string problem;
        if (TakeListingOption(args, index, listing, problem) == OptionTaken::No) {
            return takeOwn ? takeOwn(index) : "unknown option: " + args[index];
        }
        return problem;
    });
}

bool ResolveFolder(const std::string& operand, std::string& folder) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(operand, error);
    if (error || !ToolFileSystem().FolderExists(resolved.string())) {
        std::fprintf(stderr, "tralvo-cli: not a folder: %s\n", EscapeField(operand).c_str());
        return false;
    }
    folder = resolved.string();
    return true;
}

TrackList LoadFolder(const std::string& folder, const ListingOptions& options) {
    return LoadTracks(folder, options, ToolFileSystem());
}

void NoteWhenRecoveryNeeded(const std::string& folder) {
    const std::string name = EscapeField(folder);
    if (UserJournals().HeldElsewhere(FolderWithSlash(folder))) {
        std::fprintf(stderr, "Note: another Tralvo run is changing %s right now\n", name.c_str());
    } else if (NeedsRecovery(FolderWithSlash(folder), ToolFileSystem())) {
        std::fprintf(stderr,
                     "Note: %s holds what an interrupted run left behind; "
                     "\"tralvo-cli recover %s\" puts it back together\n",
                     name.c_str(), name.c_str());
    }
}

void PrintTrackList(const TrackList& tracks) {
    std::size_t position = 0;
    for (const TrackEntry& entry : tracks) {
        PrintFields({std::to_string(++position), entry.display,
                     entry.file ? entry.file->FileName() : std::string()});
    }
}

} // namespace tralvo::cli
