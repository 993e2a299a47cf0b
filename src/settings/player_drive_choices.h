#pragma once

#include "platform/volume_labels.h"

#include <optional>
#include <string>
#include <vector>

namespace tralvo {

// One entry of the settings dialog's player drive list.
struct PlayerDriveChoice {
    std::string value; // what Settings.PlayerDrive holds for it: "?", "@" or a folder
    std::string text;  // what the list shows
    bool mustExist;    // OK checks that its folder exists ("?" and "@" are never checked)
};

// The entries, in list order: "?" the volume of the current folder, "@" the volume of the
// program file, then the mounted volumes a player can be among, stored by mount point.
std::vector<PlayerDriveChoice> PlayerDriveChoices(FileSystem& fs, const VolumeLabels& labels);

// The index of the entry for a stored value; a value the list lacks (a volume no longer
// mounted, a drive letter of an older settings file) gets an entry of its own at the end.
std::size_t ChoiceIndexFor(std::vector<PlayerDriveChoice>& choices, const std::string& playerDrive);

// The mount point of the one FAT or exFAT volume mounted where desktops mount removable media
// (below /media or /run/media), which a first run offers as the player; none when there is no
// such volume or more than one.
std::optional<std::string> SingleMountedPlayer(const std::vector<Volume>& volumes);

// Whether the folder of a chosen entry is there; "?" and "@" always are.
bool ChoiceFolderExists(const PlayerDriveChoice& choice, FileSystem& fs);

} // namespace tralvo
