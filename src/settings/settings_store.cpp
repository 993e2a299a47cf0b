#include "settings/settings_store.h"

#include "i18n/language_catalogue.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "platform/user_folders.h"
#include "settings/player_switch.h"
#include "settings/settings_location.h"

namespace tralvo {

namespace {

// Only the low 8 bits count, as the file has always been read; a result out of range
// falls back to the key's default.
std::uint8_t ReadByteSetting(const IniFile& ini, std::string_view section, std::string_view key,
                             std::uint8_t fallback, std::uint8_t highest) {
    const auto value = static_cast<std::uint8_t>(ini.ReadInteger(section, key, fallback) & 0xFF);
    return value > highest ? fallback : value;
}

// A key out of range falls back to its own default, as other byte settings do.
media::SortKey ReadSortKey(const IniFile& ini, std::string_view key, media::SortKey fallback) {
    const auto highest = static_cast<std::uint8_t>(media::SortKeyNumber(media::LastSortKey));
    return media::SortKeyFromNumber(ReadByteSetting(
        ini, "Sort", key, static_cast<std::uint8_t>(media::SortKeyNumber(fallback)), highest));
}

// A letter drive, "?" or "@" is stored as its first character; an absolute folder stands
// for a volume chosen on this system.
std::string ParsePlayerDrive(const std::string& value) {
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    if (value.empty() || value.front() < '?' || value.front() > 'Z') {
        return "@";
    }
    return value.substr(0, 1);
}

std::string ReadPath(const IniFile& ini, std::string_view key) {
    return std::string(TrimBlanksAndControls(ini.ReadString("Window", key, "")));
}

} // namespace

std::string SettingsFilePath() {
    if (ProgramFolderChosen()) {
        return ProgramFolder() + "Tralvo.ini";
    }
    return SettingsFileFor(ThisProgramsSettingsPlace());
}

UserSettings LoadSettingsFrom(const std::string& path, LanguageCatalogue& catalogue,
                              FileSystem& fs) {
    UserSettings config;
    config.FirstRun = !fs.FileExists(path);
    const IniFile ini(path);

    config.Language = ini.ReadInteger("Appearance", "Language", -1);
    config.LargeFileIcons = ini.ReadBool("Appearance", "LargeFileIcons", true);
    config.LargeFileIconsAtStart = config.LargeFileIcons;
    if (!catalogue.IsValidLanguage(config.Language)) {
        config.Language = catalogue.DefaultLanguage();
    }
    catalogue.SetCurrentLanguage(config.Language);

    config.PlayerDrive = ParsePlayerDrive(ini.ReadString("Player", "Drive", "@"));
    config.PlayerType = PlayerTypeFromNumber(ini.ReadInteger("Player", "Type", 0) & 0xFF)
                            .value_or(PlayerType::DirectoryOrder);
    config.Only83FileNames = ini.ReadBool("Player", "Only83FileNames", false);

    config.SortKey1 = ReadSortKey(ini, "1", media::SortKey::Artist);
    config.SortKey2 = ReadSortKey(ini, "2", media::SortKey::Album);
    config.SortKey3 = ReadSortKey(ini, "3", media::SortKey::Title);
    // Off unless asked for: a file from before the key sorts as it always did.
    config.NaturalSort = ini.ReadBool("Sort", "Natural", false);

    WindowSettings& window = config.Window;
    window.WindowMaximized = ini.ReadBool("Window", "Maximized", false);
    window.WindowWidth = ini.ReadInteger("Window", "Width", -1);
    window.WindowHeight = ini.ReadInteger("Window", "Height", -1);
    window.WindowLeft = ini.ReadInteger("Window", "Left", -1);
    window.WindowTop = ini.ReadInteger("Window", "Top", -1);
    window.SplitterPos = ini.ReadInteger("Window", "Splitter", -1);
    window.LastMyComputerPath = ReadPath(ini, "LastMyComputerPath");
    window.LastMyPlayerPath = ReadPath(ini, "LastMyPlayerPath");
    config.Players = ReadKnownPlayers(ini);
    return config;
}

Status SaveSettingsTo(const std::string& path, const UserSettings& config) {
    // The user's configuration folder may not be there yet.
    if (Status made = MakePrivateFolders(ParentFolder(path)); !made) {
        return made;
    }
    IniFile ini(path);
    ini.WriteInteger("Appearance", "Language", config.Language);
    ini.WriteBool("Appearance", "LargeFileIcons", config.LargeFileIcons);
    ini.WriteString("Player", "Drive", config.PlayerDrive);
    ini.WriteInteger("Player", "Type", PlayerTypeNumber(config.PlayerType));
    ini.WriteBool("Player", "Only83FileNames", config.Only83FileNames);
    ini.WriteInteger("Sort", "1", media::SortKeyNumber(config.SortKey1));
    ini.WriteInteger("Sort", "2", media::SortKeyNumber(config.SortKey2));
    ini.WriteInteger("Sort", "3", media::SortKeyNumber(config.SortKey3));
    ini.WriteBool("Sort", "Natural", config.NaturalSort);
    const WindowSettings& window = config.Window;
    ini.WriteBool("Window", "Maximized", window.WindowMaximized);
    ini.WriteInteger("Window", "Width", window.WindowWidth);
    ini.WriteInteger("Window", "Height", window.WindowHeight);
    ini.WriteInteger("Window", "Left", window.WindowLeft);
    ini.WriteInteger("Window", "Top", window.WindowTop);
    ini.WriteInteger("Window", "Splitter", window.SplitterPos);
    ini.WriteString("Window", "LastMyComputerPath", window.LastMyComputerPath);
    ini.WriteString("Window", "LastMyPlayerPath", window.LastMyPlayerPath);
    // The global keys are the current player's, whoever changed them last.
    UserSettings kept = config;
    KeepCurrentPlayer(kept);
    WriteKnownPlayers(ini, kept.Players);
    return ini.Save();
}

UserSettings LoadSettings() {
    return LoadSettingsFrom(SettingsFilePath(), Catalogue(), SystemFileSystem());
}

Status SaveSettings(UserSettings& settings) {
    Status status = SaveSettingsTo(SettingsFilePath(), settings);
    settings.Window.LastMyComputerPath.clear();
    settings.Window.LastMyPlayerPath.clear();
    return status;
}

} // namespace tralvo
