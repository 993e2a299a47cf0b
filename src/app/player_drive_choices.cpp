#include "app/player_drive_choices.h"

#include "app/language_catalogue.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/mount_table.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace tralvo {

namespace {

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

// udev writes a blank in a label as "\x20", a slash as "\x2f", and so on.
std::string DecodeUdevName(std::string_view name) {
    std::string decoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const std::optional<int> high = HexDigit(name[i + 2]);
            const std::optional<int> low = HexDigit(name[i + 3]);
            if (high && low) {
                decoded.push_back(static_cast<char>(*high * 16 + *low));
                i += 3;
                continue;
            }
        }
        decoded.push_back(name[i]);
    }
    return decoded;
}

std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

std::string LabelOf(const Volume& volume, const VolumeLabels& labels) {
    if (labels.empty() || volume.source.empty() || volume.source.front() != '/') {
        return {}; // FUSE mounts and network shares name no device
    }
    const auto found = labels.find(ResolvedPath(volume.source));
    return found == labels.end() ? std::string() : found->second;
}

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

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool IsDriveLetter(const std::string& value) {
    return value.size() == 1 && value[0] >= 'A' && value[0] <= 'Z';
}

PlayerDriveChoice VolumeChoice(const std::string& name, const std::string& mountPoint) {
    return {mountPoint, GetLangString("Drive") + " " + name + " (" + mountPoint + ")", true};
}

} // namespace

VolumeLabels ReadVolumeLabels(const std::string& byLabelFolder) {
    VolumeLabels labels;
    std::error_code error;
    std::filesystem::directory_iterator entry(byLabelFolder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code resolveError;
        const std::filesystem::path device =
            std::filesystem::canonical(entry->path(), resolveError);
        if (!resolveError) {
            labels[device.string()] = DecodeUdevName(entry->path().filename().string());
        }
    }
    return labels;
}

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
        const std::string label = LabelOf(volume, labels);
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

bool ChoiceFolderExists(const PlayerDriveChoice& choice, FileSystem& fs) {
    if (!choice.mustExist) {
        return true;
    }
    const std::string root = PlayerRootFor(choice.value, fs);
    return !root.empty() && fs.FolderExists(root);
}

} // namespace tralvo
