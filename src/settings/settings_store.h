#pragma once

#include "arrange/player_type.h"
#include "media/sort_order.h"
#include "platform/status.h"
#include "settings/player_profiles.h"

#include <cstdint>
#include <string>

namespace tralvo {

class FileSystem;
class LanguageCatalogue;

struct WindowSettings {
    bool WindowMaximized = false;
    std::int32_t WindowWidth = -1;
    std::int32_t WindowHeight = -1;
    std::int32_t WindowLeft = -1;
    std::int32_t WindowTop = -1;
    std::int32_t SplitterPos = -1;
    std::string LastMyComputerPath;
    std::string LastMyPlayerPath;
};

// Every user setting of the program, in the order the settings file holds them.
struct UserSettings {
    bool FirstRun = true;
    std::int32_t Language = -1;
    bool LargeFileIconsAtStart = true;
    bool LargeFileIcons = true;
    // "?" the drive of the current folder, "@" the program's drive, "A".."Z" a drive letter,
    // or an absolute folder (the mount point of a volume chosen on this system).
    std::string PlayerDrive = "@";
    tralvo::PlayerType PlayerType = tralvo::PlayerType::DirectoryOrder;
    bool Only83FileNames = false;
    media::SortKey SortKey1 = media::SortKey::Artist;
    media::SortKey SortKey2 = media::SortKey::Album;
    media::SortKey SortKey3 = media::SortKey::Title;
    bool NaturalSort = false; // numbers in the text keys by value ("2" before "10")
    WindowSettings Window;
    // The player settings of every player volume met, and the one the player keys above
    // belong to.
    KnownPlayers Players;

    PlayerOrder Order() const { return {PlayerType, Only83FileNames}; }
    media::SortKeys Keys() const { return {SortKey1, SortKey2, SortKey3, NaturalSort}; }
};

// "Tralvo.ini" in the folder SettingsFileFor chooses for this program; in a folder that was
// set for the program's (SetProgramFolder), there.
std::string SettingsFilePath();

// Reads the file at path, repairing what is out of range, and makes the stored language
// current in catalogue (its default when the stored one is not valid).
UserSettings LoadSettingsFrom(const std::string& path, LanguageCatalogue& catalogue,
                              FileSystem& fs);
// Writes the eighteen keys and a section per known player, the current player's from the
// global keys, leaving every other line of the file as it is; a missing folder on the way is
// made, private to the user.
Status SaveSettingsTo(const std::string& path, const UserSettings& config);

// The settings module's start and end steps: the settings of the program's file, read with the
// process-wide catalogue; and settings written back to it, after which the last folders are
// forgotten. The failure names the file; the caller reports it as the process ends.
UserSettings LoadSettings();
Status SaveSettings(UserSettings& settings);

} // namespace tralvo
