#include "panes/core/computer_volumes.h"

#include "panes/core/folder_path.h"
#include "platform/mount_table.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tralvo {
namespace {

namespace fs = std::filesystem;

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

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

std::string DecodeUdevLabel(std::string_view name) {
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            HexValue(name[i + 2]) >= 0 && HexValue(name[i + 3]) >= 0) {
            label.push_back(static_cast<char>(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3])));
            i += 3;
        } else {
            label.push_back(name[i]);
        }
    }
    return label;
}

DeviceLabels ReadDeviceLabels(const std::string& byLabelFolder) {
    DeviceLabels labels;
    std::error_code error;
    for (fs::directory_iterator it(byLabelFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string device = Canonical(it->path().string());
        if (!device.empty()) {
            labels.emplace(device, DecodeUdevLabel(it->path().filename().string()));
        }
    }
    return labels;
}

ComputerVolume DescribeVolume(const Volume& volume, const DeviceLabels& labels) {
    ComputerVolume described;
    described.mountPoint = volume.mountPoint;
    // FUSE mounts name their program, not a device, as the source.
    const auto found =
        volume.source.starts_with('/') ? labels.find(Canonical(volume.source)) : labels.end();
    if (found != labels.end() && !found->second.empty()) {
        described.label = found->second;
    } else if (volume.mountPoint == "/") {
        described.label = "/";
    } else {
        described.label = volume.mountPoint.substr(volume.mountPoint.rfind('/') + 1);
    }
    described.removable = IsRemovable(volume);
    return described;
}

std::vector<ComputerVolume> ComputerVolumes(FileSystem& fs, const std::vector<Volume>& volumes,
                                            const std::vector<std::string>& prefixes,
                                            const DeviceLabels& labels) {
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
