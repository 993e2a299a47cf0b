#pragma once

#include "platform/file_system.h"
#include "platform/volume_labels.h"

#include <string>
#include <string_view>
#include <vector>

namespace tralvo {

// A volume as the computer's top level shows it.
struct ComputerVolume {
    std::string mountPoint;
    std::string label; // the file system's label, else the mount point's last component
    bool removable = false;
};

// Mount points at or below these folders are drives a user would recognise, beside "/" and
// a separate /home: where udisks, fstab habits and users mount USB disks and players.
std::vector<std::string> DefaultVolumePrefixes();

ComputerVolume DescribeVolume(const Volume& volume, const VolumeLabels& labels);

// The volumes to show as the computer's drives, in FolderNameLess order of their mount points
// (so "/" first): "/", "/home", and the mounts at or below a prefix; never the pseudo file
// systems, and never a mount of a single file, whose mount point is no folder.
std::vector<ComputerVolume> ComputerVolumes(FileSystem& fs, const std::vector<Volume>& volumes,
                                            const std::vector<std::string>& prefixes,
                                            const VolumeLabels& labels);

} // namespace tralvo
