#include "gui/panes/core/computer_volumes.h"

#include "gui/panes/core/folder_path.h"
#include "platform/mount_table.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tralvo {
namespace {

namespace fs = std::filesystem;

std::string Canonical(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? std::string() : resolved.string();
}

bool ReadsOne(const fs::path& file) {
    std::ifstream in(file);
    char flag = '0';
    return in.get(flag) && flag == '1';
}

// A block device is removable when the kernel says so or when it hangs off a USB bus: many
// USB disks and players report themselves as fixed.
bool IsRemovableDevice(const std::string& source) {
    const std::string device = Canonical(source);
    if (!device.starts_with("/dev/")) {
        return false;
    }
    const std::string sysfs = Canonical("/sys/class/block/" + fs::path(device).filename().string());
    if (sysfs.empty()) {
        return false;
    }
    if (sysfs.find("/usb") != std::string::npos) {
        return true;
    }
    const fs::path node(sysfs);
    // A partition has no removable flag of its own; its disk is the parent node.
    return ReadsOne(node / "removable") || ReadsOne(node.parent_path() / "removable");
}

bool IsRemovable(const Volume& volume) {
    if (volume.fileSystemType.starts_with("fuse")) {
        return true; // players and images mounted in user space
    }
    if (FolderHoldsPath("/media", volume.mountPoint) ||
        FolderHoldsPath("/run/media", volume.mountPoint)) {
        return true;
    }
    return IsRemovableDevice(volume.source);
}

bool IsComputerMountPoint(std::string_view mountPoint, const std::vector<std::string>& prefixes) {
    if (mountPoint == "/" || mountPoint == "/home") {
        return true;
    }
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& prefix) {
        return FolderHoldsPath(NormalFolderPath(prefix), mountPoint);
    });
}

} // namespace

std::vector<std::string> DefaultVolumePrefixes() {
    return {"/media", "/mnt", "/run/media"};
}

ComputerVolume DescribeVolume(const Volume& volume, const VolumeLabels& labels) {
    ComputerVolume described;
    described.mountPoint = volume.mountPoint;
    described.label = VolumeLabel(volume, labels);
    if (described.label.empty()) {
        described.label =
            volume.mountPoint == "/" ? volume.mountPoint : std::string(BaseName(volume.mountPoint));
    }
    described.removable = IsRemovable(volume);
    return described;
}

std::vector<ComputerVolume> ComputerVolumes(FileSystem& fs, const std::vector<Volume>& volumes,
                                            const std::vector<std::string>& prefixes,
                                            const VolumeLabels& labels) {
    std::vector<ComputerVolume> shown;
    // Of mounts stacked on one point the last one is seen.
    for (auto it = volumes.rbegin(); it != volumes.rend(); ++it) {
        const Volume& volume = *it;
        const bool listed = std::any_of(shown.begin(), shown.end(), [&](const ComputerVolume& v) {
            return v.mountPoint == volume.mountPoint;
        });
        if (listed || !IsUserVolume(volume) || !IsComputerMountPoint(volume.mountPoint, prefixes) ||
            !fs.FolderExists(volume.mountPoint)) {
            continue;
        }
        shown.push_back(DescribeVolume(volume, labels));
    }
    std::sort(shown.begin(), shown.end(), [](const ComputerVolume& a, const ComputerVolume& b) {
        return FolderNameLess(a.mountPoint, b.mountPoint);
    });
    return shown;
}

} // namespace tralvo
