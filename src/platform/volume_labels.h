#pragma once

#include "platform/file_system.h"

#include <map>
#include <string>
#include <string_view>

namespace tralvo {

// Volume labels by device, the device named by its resolved path ("/dev/sdb1").
using VolumeLabels = std::map<std::string, std::string>;

// udev writes blanks, slashes and other unsafe bytes of a label as "\xHH".
std::string DecodeUdevLabel(std::string_view name);

// The labels of the udev folder whose links name devices by their labels; empty when the
// folder is missing (no udev, a container). Links that lead nowhere are left out.
VolumeLabels ReadVolumeLabels(const std::string& byLabelFolder = "/dev/disk/by-label");

// The label of a mounted volume's device, which the mount table may name by another link to
// it; empty when the device has none or the volume names no device (FUSE mounts, network
// shares).
std::string VolumeLabel(const Volume& volume, const VolumeLabels& labels);

} // namespace tralvo
