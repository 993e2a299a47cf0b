#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "i18n/language_catalogue.h"
#include "platform/file_system.h"
#include "settings/player_switch.h"
#include "settings/settings_store.h"

#include <cstdio>

namespace tralvo::cli {

namespace {

void PrintText(std::string_view name, std::string_view value) {
    std::fwrite(name.data(), 1, name.size(), stdout);
    std::fputc('=', stdout);
    PrintField(value);
}

void PrintFlag(std::string_view name, bool value) {
    PrintText(name, value ? "1" : "0");
}

void PrintNumber(std::string_view name, std::int64_t value) {
    PrintText(name, std::to_string(value));
}

void PrintConfig(const UserSettings& config) {
    const WindowSettings& window = config.Window;
    PrintFlag("FirstRun", config.FirstRun);
    PrintNumber("Language", config.Language);
    PrintFlag("LargeFileIconsAtStart", config.LargeFileIconsAtStart);
    PrintFlag("LargeFileIcons", config.LargeFileIcons);
    PrintText("PlayerDrive", config.PlayerDrive);
    PrintNumber("PlayerType", PlayerTypeNumber(config.PlayerType));
    PrintFlag("Only83FileNames", config.Only83FileNames);
    PrintNumber("SortKey1", media::SortKeyNumber(config.SortKey1));
    PrintNumber("SortKey2", media::SortKeyNumber(config.SortKey2));
    PrintNumber("SortKey3", media::SortKeyNumber(config.SortKey3));
    PrintFlag("WindowMaximized", window.WindowMaximized);
    PrintNumber("WindowWidth", window.WindowWidth);
    PrintNumber("WindowHeight", window.WindowHeight);
    PrintNumber("WindowLeft", window.WindowLeft);
    PrintNumber("WindowTop", window.WindowTop);
    PrintNumber("SplitterPos", window.SplitterPos);
    PrintText("LastMyComputerPath", window.LastMyComputerPath);
    PrintText("LastMyPlayerPath", window.LastMyPlayerPath);
    // Last, so that the lines of earlier versions keep their places.
    PrintFlag("NaturalSort", config.NaturalSort);
}

// The player the drive resolves to now (empty for a folder without an identity), then every
// player met so far: id, label, type and 8.3 option, TAB-separated.
void PrintPlayers(const UserSettings& config) {
    FileSystem& fs = SystemFileSystem();
    std::fputs("CurrentPlayer=", stdout);
    if (const std::optional<PlayerVolume> current =
            CurrentPlayerVolume(config, fs, SystemPlayerVolumeFinder(fs))) {
        PrintFields({current->id, current->label});
    } else {
        PrintField("");
    }
    UserSettings kept = config;
    KeepCurrentPlayer(kept);
    for (const PlayerProfile& profile : kept.Players.profiles) {
        std::fputs("Player=", stdout);
        PrintFields({profile.id, profile.label, std::to_string(PlayerTypeNumber(profile.type)),
                     profile.only83FileNames ? "1" : "0"});
    }
}

} // namespace

// Runs the settings module's start and end steps as the program does and shows what loaded.
int RunSettingsCommand(Arguments args) {
    std::size_t index = 0;
    bool taken = false;
    if (!TakeDirOption(args, index, taken)) {
        return UsageError("--dir needs a folder");
    }
    if (index != args.size()) {
        return UsageError("unexpected argument: " + args[index]);
    }
    OpenLanguageCatalogue();
    UserSettings settings = LoadSettings();
    const UserSettings loaded = settings;
    const Status saved = SaveSettings(settings);
    CloseLanguageCatalogue();

    PrintConfig(loaded);
    PrintPlayers(loaded);
    std::fflush(stdout);
    if (!saved) {
        std::fprintf(stderr, "tralvo-cli: %s\n", saved.message().c_str());
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace tralvo::cli
