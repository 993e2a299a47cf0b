#include "settings/player_drive_choices.h"

#include "i18n/language_catalogue.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/mount_table.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tralvo {

namespace {

// Where the system keeps its own mounts (boot partitions, snaps, the per-user runtime folder
// with its portals): nothing a player is plugged in as.
bool IsSystemMount(const std::string& mountPoint) {
    static constexpr std::array<std::string_view, 7> systemFolders = {
        "/proc", "/sys", "/dev", "/run", "/boot", "/efi", "/snap"};
    if (FolderHoldsPath("/run/media", mountPoint)) {
        return false; // where udisks mounts removable media on some systems
    }
    for (const std::string_view folder : systemFolders) {
        if (FolderHoldsPath(folder, mountPoint)) {
            return true;
        }
    }
    return false;
}

bool IsDriveLetter(const std::string& value) {
    return value.size() == 1 && value[0] >= 'A' && value[0] <= 'Z';
}

PlayerDriveChoice VolumeChoice(const std::string& name, const std::string& mountPoint) {
    return {mountPoint, GetLangString("Drive") + " " + name + " (" + mountPoint + ")", true};
}

} // namespace

std::vector<PlayerDriveChoice> PlayerDriveChoices(FileSystem& fs, const VolumeLabels& labels) {
    std::vector<PlayerDriveChoice> choices;
    choices.push_back(
        {"?", GetLangString("CurrentDrive") + " (" + fs.VolumeOf(fs.CurrentFolder()) + ")", false});
    choices.push_back(
        {"@", GetLangString("TralvoDrive") + " (" + fs.VolumeOf(fs.ProgramPath()) + ")", false});
    for (const Volume& volume : fs.Volumes()) {
        // A mount point that is no folder is a single file bound into place (a container's
        // /etc/hosts).
        if (!IsUserVolume(volume) || IsSystemMount(volume.mountPoint) ||
            !fs.FolderExists(volume.mountPoint)) {
            continue;
        }
        const std::string label = VolumeLabel(volume, labels);
        choices.push_back(
            VolumeChoice(label.empty() ? volume.mountPoint : label, volume.mountPoint));
    }
    return choices;
}

std::size_t ChoiceIndexFor(std::vector<PlayerDriveChoice>& choices,
                           const std::string& playerDrive) {
    const bool isFolder = !playerDrive.empty() && playerDrive.front() == '/';
    const std::string wanted = isFolder ? WithoutTrailingSlashes(playerDrive) : playerDrive;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const std::string& value = choices[i].value;
        if (value == wanted || (isFolder && WithoutTrailingSlashes(value) == wanted)) {
            return i;
        }
    }
    if (IsDriveLetter(playerDrive)) {
        choices.push_back({playerDrive, GetLangString("Drive") + " " + playerDrive + ":\\", true});
    } else {
        choices.push_back(VolumeChoice(playerDrive, playerDrive));
    }
    return choices.size() - 1;
}

std::optional<std::string> SingleMountedPlayer(const std::vector<Volume>& volumes) {
    static constexpr std::array<std::string_view, 3> playerTypes = {"vfat", "msdos", "exfat"};
    std::optional<std::string> found;
    for (const Volume& volume : volumes) {
        const bool removable = (FolderHoldsPath("/media", volume.mountPoint) ||
                                FolderHoldsPath("/run/media", volume.mountPoint)) &&
                               volume.mountPoint != "/media" && volume.mountPoint != "/run/media";
        if (!removable || std::find(playerTypes.begin(), playerTypes.end(),
                                    volume.fileSystemType) == playerTypes.end()) {
            continue;
        }
        if (found && *found != volume.mountPoint) {
            return std::nullopt;
        }
        found = volume.mountPoint;
    }
    return found;
}

bool ChoiceFolderExists(const PlayerDriveChoice& choice, FileSystem& fs) {
    if (!choice.mustExist) {
        return true;
    }
    const std::string root = PlayerRootFor(choice.value, fs);
    return !root.empty() && fs.FolderExists(root);
}

} // namespace tralvo
