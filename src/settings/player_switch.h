#pragma once

#include "platform/file_system.h"
#include "settings/player_profiles.h"

#include <functional>
#include <optional>
#include <string>

namespace tralvo {

struct UserSettings;

// The player volume that holds a folder, or nothing when the folder lies on no volume with
// a lasting identity (the computer's own disk, a drive letter of another system).
using PlayerVolumeFinder = std::function<std::optional<PlayerVolume>(const std::string& folder)>;

// Finds volumes by IdentifyVolume and names them by their labels as udev lists them.
PlayerVolumeFinder SystemPlayerVolumeFinder(FileSystem& fs = SystemFileSystem());

// The player values of the global keys (type, 8.3 names, the last player folder where the
// current volume's root is known) copied to the current player's profile.
void KeepCurrentPlayer(UserSettings& settings);

// The player root now lies on `to`: the global values stay with the player they belonged to,
// and then come from to's profile when it has one; a volume met for the first time takes them
// as they are. A folder without an identity keeps them unchanged and has no profile. Gives
// whether the global player values may have changed.
bool SwitchPlayer(UserSettings& settings, const std::optional<PlayerVolume>& to);

// The volume the stored player drive resolves to now.
std::optional<PlayerVolume> CurrentPlayerVolume(const UserSettings& settings, FileSystem& fs,
                                                const PlayerVolumeFinder& find);

// SwitchPlayer to the volume the stored player drive resolves to now.
bool FollowPlayerVolume(UserSettings& settings, FileSystem& fs, const PlayerVolumeFinder& find);

} // namespace tralvo
