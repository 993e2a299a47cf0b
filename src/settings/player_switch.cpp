#include "settings/player_switch.h"

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/volume_identity.h"
#include "platform/volume_labels.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace tralvo {

namespace {

PlayerProfile& ProfileFor(KnownPlayers& players, const std::string& id) {
    const auto found =
        std::find_if(players.profiles.begin(), players.profiles.end(),
                     [&id](const PlayerProfile& profile) { return profile.id == id; });
    if (found != players.profiles.end()) {
        return *found;
    }
    PlayerProfile& added = players.profiles.emplace_back();
    added.id = id;
    return added;
}

std::string FolderOnVolume(const std::string& root, const std::string& relative) {
    return WithoutTrailingSlashes(FolderWithSlash(root) + relative);
}

} // namespace

PlayerVolumeFinder SystemPlayerVolumeFinder(FileSystem& fs) {
    return [&fs](const std::string& folder) -> std::optional<PlayerVolume> {
        if (folder.empty() || folder.front() != '/') {
            return std::nullopt;
        }
        const std::optional<VolumeIdentity> identity = IdentifyVolume(folder);
        if (!identity) {
            return std::nullopt;
        }
        const std::optional<std::string> id = NormalVolumeId(identity->id);
        if (!id) {
            return std::nullopt;
        }
        PlayerVolume volume{*id, "", identity->root};
        const VolumeLabels labels = ReadVolumeLabels();
        for (const Volume& mounted : fs.Volumes()) {
            if (mounted.mountPoint == identity->root) {
                volume.label = VolumeLabel(mounted, labels); // the last one mounted there wins
            }
        }
        // Where udev lists no volume (an image a FUSE server mounted), the boot sector names it.
        if (volume.label.empty()) {
            volume.label = identity->label;
        }
        return volume;
    };
}

void KeepCurrentPlayer(UserSettings& settings) {
    if (!settings.Players.current) {
        return;
    }
    const PlayerVolume& volume = *settings.Players.current;
    PlayerProfile& profile = ProfileFor(settings.Players, volume.id);
    if (!volume.label.empty()) {
        profile.label = volume.label;
    }
    profile.type = settings.PlayerType;
    profile.only83FileNames = settings.Only83FileNames;
    if (const std::optional<std::string> below =
            FolderBelowRoot(volume.root, settings.Window.LastMyPlayerPath)) {
        profile.lastFolder = *below;
    }
}

bool SwitchPlayer(UserSettings& settings, const std::optional<PlayerVolume>& to) {
    std::optional<PlayerVolume>& current = settings.Players.current;
    if (current && to && current->id == to->id) {
        // The same player, perhaps at another mount point or with a new label.
        current->root = to->root;
        if (!to->label.empty()) {
            current->label = to->label;
        }
        return false;
    }
    if (!current && !to) {
        return false;
    }
    KeepCurrentPlayer(settings);
    current = to;
    if (!to) {
        return false;
    }
    if (const PlayerProfile* known = settings.Players.Find(to->id)) {
        settings.PlayerType = known->type;
        settings.Only83FileNames = known->only83FileNames;
        if (!to->root.empty()) {
            settings.Window.LastMyPlayerPath = FolderOnVolume(to->root, known->lastFolder);
        }
    }
    KeepCurrentPlayer(settings);
    if (!to->root.empty()) {
        settings.Window.LastMyPlayerPath =
            FolderOnVolume(to->root, settings.Players.Find(to->id)->lastFolder);
    }
    return true;
}

std::optional<PlayerVolume> CurrentPlayerVolume(const UserSettings& settings, FileSystem& fs,
                                                const PlayerVolumeFinder& find) {
    return find(PlayerRootFor(settings.PlayerDrive, fs));
}

bool FollowPlayerVolume(UserSettings& settings, FileSystem& fs, const PlayerVolumeFinder& find) {
    return SwitchPlayer(settings, CurrentPlayerVolume(settings, fs, find));
}

} // namespace tralvo
