// probe: a folder whose directory order, name order and creation order each start with another
// spoken word, so that the word a player plays first tells its player type.
#include "arrange/order_probe.h"
#include "cli/cli_commands.h"
#include "cli/cli_file_system.h"
#include "cli/cli_output.h"
#include "cli/cli_tracks.h"
#include "i18n/language_catalogue.h"
#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "settings/player_switch.h"
#include "settings/settings_store.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>

namespace tralvo::cli {

namespace {

enum class ProbeAction { Write, Remove, Heard };

struct ProbeOptions {
    ProbeAction action = ProbeAction::Write;
    ProbeWord heard = ProbeWord::One;
    std::string folder;
};

std::optional<ProbeWord> ParseWord(std::string_view text) {
    constexpr std::array<std::array<std::string_view, 2>, 3> Spellings = {
        {{"one", "1"}, {"two", "2"}, {"three", "3"}}};
    for (std::size_t i = 0; i < Spellings.size(); ++i) {
        if (EqualsIgnoringCase(text, Spellings[i][0]) || text == Spellings[i][1]) {
            return static_cast<ProbeWord>(i);
        }
    }
    return std::nullopt;
}

std::string ParseProbe(Arguments args, ProbeOptions& options) {
    std::vector<std::string> operands;
    bool actionGiven = false;
    std::string problem = TakeArguments(args, operands, [&](std::size_t& index) -> std::string {
        const std::string& option = args[index];
        if (option != "--remove" && option != "--heard") {
            return "unknown option: " + option;
        }
        if (actionGiven) {
            return "probe takes --remove or --heard, once";
        }
        actionGiven = true;
        options.action = option == "--remove" ? ProbeAction::Remove : ProbeAction::Heard;
        ++index;
        if (options.action == ProbeAction::Heard) {
            const std::optional<ProbeWord> word =
                index < args.size() ? ParseWord(args[index]) : std::nullopt;
            if (!word) {
                return "--heard needs one, two or three (or 1, 2, 3)";
            }
            options.heard = *word;
            ++index;
        }
        return {};
    });
    if (!problem.empty()) {
        return problem;
    }
    if (operands.size() != 1) {
        return "probe needs one folder";
    }
    options.folder = operands.front();
    return {};
}

int Failed(const Status& status) {
    std::fprintf(stderr, "Error: %s\n", EscapeField(status.message()).c_str());
    return ExitFailure;
}

int WriteProbe(const std::string& folder) {
    OpenLanguageCatalogue();
    LoadSettings();
    const std::string language = GetLanguageCode();
    CloseLanguageCatalogue();
    FileSystem& fs = ToolFileSystem();
    const std::optional<ProbeSounds> sounds = FindProbeSounds(DataFolder(), language, fs);
    if (!sounds) {
        return Failed(Status::Failure(ENOENT, "no sounds for the probe in " + DataFolder() +
                                                  "probe/ (the build makes them)"));
    }
    if (Status status = WriteOrderProbe(folder, *sounds, fs); !status) {
        return Failed(status);
    }
    const std::string probe = EscapeField(FolderWithSlash(folder) + OrderProbeFolderName);
    const std::string name = EscapeField(folder);
    std::printf("Wrote %s\n"
                "It holds three tracks that say one, two and three, in the language of the\n"
                "settings. Play that folder on the player and note the word it plays first;\n"
                "  tralvo-cli probe --heard one|two|three %s\n"
                "then stores the player type that word tells (one: directory order, type 0;\n"
                "two: file names, type 1; three: creation times, type 2) and removes the\n"
                "folder. \"tralvo-cli probe --remove %s\" only removes it.\n",
                probe.c_str(), name.c_str(), name.c_str());
    return ExitOk;
}

int RemoveProbe(const std::string& folder) {
    FileSystem& fs = ToolFileSystem();
    const std::string probe = FolderWithSlash(folder) + OrderProbeFolderName;
    const bool there = fs.EntryExists(probe);
    if (Status status = RemoveOrderProbe(folder, fs); !status) {
        return Failed(status);
    }
    if (there) {
        PrintFields({"removed", probe});
    }
    return ExitOk;
}

int StoreHeard(ProbeWord word, const std::string& folder) {
    OpenLanguageCatalogue();
    UserSettings settings = LoadSettings();
    // The type belongs to the player that played the probe, which need not be the current one.
    SwitchPlayer(settings, SystemPlayerVolumeFinder(ToolFileSystem())(folder));
    settings.PlayerType = PlayerTypeForFirstWord(word);
    const int type = PlayerTypeNumber(settings.PlayerType);
    const Status saved = SaveSettings(settings);
    CloseLanguageCatalogue();
    if (!saved) {
        return Failed(saved);
    }
    PrintFields({"PlayerType=" + std::to_string(type)});
    return RemoveProbe(folder);
}

} // namespace

int RunProbeCommand(Arguments args) {
    ProbeOptions options;
    if (const std::string problem = ParseProbe(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    std::string folder;
    if (!ResolveFolder(options.folder, folder)) {
        return ExitFailure;
    }
    switch (options.action) {
    case ProbeAction::Write:
        return WriteProbe(folder);
    case ProbeAction::Remove:
        return RemoveProbe(folder);
    case ProbeAction::Heard:
        return StoreHeard(options.heard, folder);
    }
    return ExitFailure;
}

} // namespace tralvo::cli
